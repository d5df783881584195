// GLSL 330 programs that reproduce the Direct3D 9 fixed-function pipeline
// for the state a draw uses. A ProgramKey holds every state choice that
// changes the code; numeric state goes through uniforms.
#pragma once

#include "d3d9/gl_compat.h"

#include <cstdint>
#include <string>

namespace corvane::d3d9 {

struct ProgramKey {
  bool hasNormal = false, hasDiffuse = false, hasSpecular = false, hasTex = false;
  bool lighting = false;      // D3DRS_LIGHTING
  bool lightEnabled = false;  // light 0 on
  bool specularEnable = false;
  bool localViewer = false, normalizeNormals = false, colorVertex = false;
  uint8_t diffuseSource = 0, ambientSource = 0, specularSource = 0, emissiveSource = 0;  // D3DMCS_*
  uint8_t fogMode = 0;  // D3DFOG_* (0 = no fog)
  bool rangeFog = false;
  uint8_t colorOp = 0, colorArg1 = 0, colorArg2 = 0;  // D3DTOP_*, D3DTA_* with modifiers
  uint8_t alphaOp = 0, alphaArg1 = 0, alphaArg2 = 0;
  uint8_t alphaFunc = 0;  // D3DCMP_* when alpha testing, else 0

  uint64_t Pack() const;
};

// Uniform groups; each program remembers which version of a group it holds.
enum UniformGroup { kTransformGroup, kLightingGroup, kPixelGroup, kGroupCount };

struct FfpProgram {
  GLuint program = 0;
  GLint wvp = -1, wv = -1, normalMatrix = -1, posFixup = -1;
  GLint lightDir = -1, lightDiffuse = -1, lightSpecular = -1, lightAmbient = -1;
  GLint matDiffuse = -1, matAmbient = -1, matSpecular = -1, matEmissive = -1, matPower = -1;
  GLint globalAmbient = -1;
  GLint fogParams = -1, fogColor = -1, alphaRef = -1, texFactor = -1;
  uint32_t versions[kGroupCount] = {};
};

std::string VertexShaderSource(const ProgramKey& key);
std::string FragmentShaderSource(const ProgramKey& key);

// Compiles and links; on failure writes the log to stderr and returns false.
bool BuildFfpProgram(const ProgramKey& key, FfpProgram* out);

// Vertex attribute slots shared by every program.
enum : GLuint { kAttrPosition = 0, kAttrNormal = 1, kAttrDiffuse = 2, kAttrSpecular = 3, kAttrTexCoord = 4 };

}  // namespace corvane::d3d9
