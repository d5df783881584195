// .x files that crash, exhaust or overflow the system's Assimp when it reads
// them in-process: an out-of-range index in a MeshNormals face list (a
// segmentation fault), 100,000 nested frames (its stack), and 61 bytes that
// declare 2,000,000,000 vertices (22 GB). The mesh tests, the mesh fuzzer's
// seeds and the hostile-file sweep all use them.
#pragma once

#include <string>
#include <utility>
#include <vector>

inline std::vector<std::pair<std::string, std::string>> HostileXFiles() {
  std::string nested = "xof 0303txt 0032\n";
  for (int i = 0; i < 100000; ++i) nested += "Frame f {\n";
  return {
      {"normals-index.x",
       "xof 0303txt 0032\nMesh m {\n 3;\n 0;0;0;, 0;1;0;, 1;0;0;;\n 1;\n 3;0,1,2;;\n"
       " MeshNormals {\n  1;\n  0;0;1;;\n  1;\n  3;0,0,70000000;;\n }\n}\n"},
      {"nested-frames.x", nested},
      {"billions.x", "xof 0303txt 0032\nMesh{\n2000000000;\n0;0;0;;\n1;\n3;0,0,0;;\n}\n"},
  };
}
