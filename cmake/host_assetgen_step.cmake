# The asset generator built for this machine (cmake/host_assetgen), for the
# builds whose own programs cannot run here (Windows, the web): the target
# host_assetgen writes the data set into CORVANE_BUILD_DATA_DIR on every
# build. The arguments name the files it makes that other steps wait for.
include(ExternalProject)

function(corvane_host_assetgen)
  ExternalProject_Add(host_assetgen
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/cmake/host_assetgen
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-assetgen
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCORVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}
               -DCORVANE_BUILD_DATA_DIR=${CORVANE_BUILD_DATA_DIR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target corvane_data
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${ARGN})
endfunction()
