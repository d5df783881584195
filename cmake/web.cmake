# The web flavour (Emscripten): the game and the platform families with
# platform/web/ in place of SDL, drawn with WebGL 2, into build-web/site/
# (corvane.js, corvane.wasm, corvane.data and the page). The data set comes
# from the asset generator built for this machine (cmake/host_assetgen), with
# the meshes converted to the loader's byte form; it is preloaded at /data.
# No tests, benchmarks or fuzz targets here: those run natively.
set(CORVANE_BUILD_DATA_DIR "${CMAKE_BINARY_DIR}/data")
set(CORVANE_WEB_SITE_DIR "${CMAKE_BINARY_DIR}/site" CACHE PATH "Where the page and its files go")
find_path(STB_INCLUDE_DIR stb_image.h PATHS /usr/include PATH_SUFFIXES stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)

include(cmake/host_assetgen_step.cmake)
corvane_host_assetgen(${CORVANE_BUILD_DATA_DIR}/.assetgen-stamp ${CORVANE_BUILD_DATA_DIR}/.meshconv-stamp)

add_subdirectory(platform)
target_compile_definitions(corvane_platform_core PRIVATE CORVANE_VERSION="${PROJECT_VERSION}")

add_library(corvane_game STATIC ${CORVANE_GAME_SOURCES})
target_include_directories(corvane_game PUBLIC src platform/common)
target_compile_options(corvane_game PRIVATE ${CORVANE_WARNINGS})
target_link_libraries(corvane_game PUBLIC corvane_platform)

add_executable(corvane src/app/main.cpp)
target_link_libraries(corvane PRIVATE corvane_game)
set_target_properties(corvane PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY "${CORVANE_WEB_SITE_DIR}"
  # The data set is packed at link time: relink when pictures, sounds or
  # converted meshes change.
  LINK_DEPENDS "${CORVANE_BUILD_DATA_DIR}/.assetgen-stamp;${CORVANE_BUILD_DATA_DIR}/.meshconv-stamp")
add_dependencies(corvane host_assetgen)
# Asyncify lets the game's own blocking loop yield to the browser in Sleep
# and Present; its stack holds the unwound frames, which are deep at a Sleep.
target_link_options(corvane PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sMAX_WEBGL_VERSION=2 -sMIN_WEBGL_VERSION=2
  -lopenal -lidbfs.js
  -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=67108864
  -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1
  "-sEXPORTED_RUNTIME_METHODS=[FS,ENV,callMain]"
  -Wl,--wrap=rename
  "SHELL:--preload-file ${CORVANE_BUILD_DATA_DIR}@/data"
  "SHELL:--exclude-file *.ico" "SHELL:--exclude-file .assetgen-stamp" "SHELL:--exclude-file .meshconv-stamp")

if(EXISTS "${CMAKE_SOURCE_DIR}/platform/web/site/CMakeLists.txt")
  add_subdirectory(platform/web/site)
endif()
