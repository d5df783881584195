// Stand-in until the mesh area lands; it writes nothing.
#include <cstdio>

#include "assetgen.h"

void GenerateMeshes(const std::string&) { std::printf("meshes: not generated yet\n"); }
