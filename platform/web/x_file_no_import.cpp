// ImportXFile in the web flavour, which has no Assimp: ReadXFile takes each
// mesh from the converted file the data build wrote beside it (NAME.x.xfc),
// so a mesh gets here only when that file is missing, damaged or made from
// another .x file.
#include "d3dx9/x_file_import.h"

namespace corvane::d3dx9 {

bool ImportXFile(const std::string&, XFileContents*, std::string* error) {
  *error = "this build reads meshes only from a converted form (.x.xfc) made from this very .x file";
  return false;
}

}  // namespace corvane::d3dx9
