// Stand-ins until the mesh and sound areas land; they write nothing.
#include <cstdio>

#include "assetgen.h"

void GenerateSounds(const std::string&) { std::printf("sounds: not generated yet\n"); }
void GenerateMeshes(const std::string&) { std::printf("meshes: not generated yet\n"); }
