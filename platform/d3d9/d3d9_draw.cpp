// The draw path: D3D state to GL state, the fixed-function program and its
// uniforms, and the streamed user-pointer vertices.
#include "d3d9_device_impl.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace corvane::d3d9 {

namespace {

float AsFloat(DWORD d) {
  float f;
  std::memcpy(&f, &d, sizeof f);
  return f;
}

void ColorToFloats(D3DCOLOR c, float out[4]) {
  out[0] = ((c >> 16) & 0xFF) / 255.f;
  out[1] = ((c >> 8) & 0xFF) / 255.f;
  out[2] = (c & 0xFF) / 255.f;
  out[3] = (c >> 24) / 255.f;
}

// Row-vector product a x b (a applied first).
D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  D3DMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
  return r;
}

// Normals go through the inverse transpose of the world-view 3x3: with row
// vectors n' = n * inverse(M)^T, i.e. n' = inverse(M) * n for a column vector.
// Writes inverse(M) row by row.
void NormalMatrix(const D3DMATRIX& wv, float out[9]) {
  const float a = wv._11, b = wv._12, c = wv._13, d = wv._21, e = wv._22, f = wv._23, g = wv._31, h = wv._32,
              i = wv._33;
  const float A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
  float det = a * A + b * B + c * C;
  if (std::fabs(det) < 1e-20f) det = 1e-20f;
  const float inv = 1.f / det;
  const float m[9] = {A * inv, -(b * i - c * h) * inv, (b * f - c * e) * inv,
                      B * inv, (a * i - c * g) * inv,  -(a * f - c * d) * inv,
                      C * inv, -(a * h - b * g) * inv, (a * e - b * d) * inv};
  std::memcpy(out, m, sizeof m);
}

GLenum BlendFactor(DWORD blend, bool source) {
  switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BOTHSRCALPHA: return source ? GL_SRC_ALPHA : GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_BOTHINVSRCALPHA: return source ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
    case D3DBLEND_BLENDFACTOR: return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
    default: return source ? GL_ONE : GL_ZERO;
  }
}

GLenum BlendEquation(DWORD op) {
  switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum CompareFunc(DWORD func) {
  switch (func) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLint AddressMode(DWORD mode) {
  switch (mode) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return gl::BorderAddressMode();
    case D3DTADDRESS_MIRRORONCE: return GL_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
  }
}

UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitives) {
  switch (type) {
    case D3DPT_POINTLIST: return primitives;
    case D3DPT_LINELIST: return primitives * 2;
    case D3DPT_LINESTRIP: return primitives + 1;
    case D3DPT_TRIANGLELIST: return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitives + 2;
    default: return 0;
  }
}

GLenum GlPrimitive(D3DPRIMITIVETYPE type) {
  switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}

// Byte size of an FVF vertex (position, normal, colours, 2D texture sets).
UINT FvfSize(DWORD fvf) {
  UINT size = 0;
  switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: size = 12; break;
    case D3DFVF_XYZRHW: size = 16; break;
    default: return 0;
  }
  if (fvf & D3DFVF_NORMAL) size += 12;
  if (fvf & D3DFVF_PSIZE) size += 4;
  if (fvf & D3DFVF_DIFFUSE) size += 4;
  if (fvf & D3DFVF_SPECULAR) size += 4;
  size += 8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
  return size;
}

}  // namespace

void Device::SetVertexLayout(DWORD fvf, UINT stride) {
  const DWORD layout = fvf | (stride << 16);
  if (gl_.vertexLayout == layout) return;
  gl_.vertexLayout = layout;
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  uintptr_t offset = 0;
  glEnableVertexAttribArray(kAttrPosition);
  glVertexAttribPointer(kAttrPosition, 3, GL_FLOAT, GL_FALSE, stride, (const void*)offset);
  offset += 12;
  auto attribute = [&](GLuint slot, bool present, GLint size, GLenum type, GLboolean normalised, UINT bytes) {
    if (present) {
      glEnableVertexAttribArray(slot);
      glVertexAttribPointer(slot, size, type, normalised, stride, (const void*)offset);
      offset += bytes;
    } else {
      glDisableVertexAttribArray(slot);
    }
  };
  attribute(kAttrNormal, fvf & D3DFVF_NORMAL, 3, GL_FLOAT, GL_FALSE, 12);
  if (fvf & D3DFVF_PSIZE) offset += 4;
  // D3DCOLOR is B,G,R,A in memory: GL_BGRA (or the shader) swizzles it to RGBA.
  attribute(kAttrDiffuse, fvf & D3DFVF_DIFFUSE, gl::ColorAttributeSize(), GL_UNSIGNED_BYTE, GL_TRUE, 4);
  attribute(kAttrSpecular, fvf & D3DFVF_SPECULAR, gl::ColorAttributeSize(), GL_UNSIGNED_BYTE, GL_TRUE, 4);
  attribute(kAttrTexCoord, (fvf & D3DFVF_TEXCOUNT_MASK) != 0, 2, GL_FLOAT, GL_FALSE, 8);
}

// `offset` when the bound stream buffer has room there for `bytes`; else 0
// in a fresh buffer (orphaning the old one, which stays with the draws that
// read it) of the ring's size or the draw's, whichever is larger.
GLsizeiptr Device::StreamRoom(GLenum target, GLsizeiptr offset, GLsizeiptr bytes, GLsizeiptr* size) {
  if (offset + bytes <= *size) return offset;
  *size = std::max(kStreamRingBytes, bytes);
  glBufferData(target, *size, nullptr, GL_STREAM_DRAW);
  return 0;
}

GLint Device::StreamVertices(const void* data, UINT count, UINT stride) {
  const GLsizeiptr bytes = (GLsizeiptr)count * stride;
  // Start on a whole vertex so the draw can address it by index.
  GLsizeiptr offset = (vboOffset_ + stride - 1) / stride * stride;
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  offset = StreamRoom(GL_ARRAY_BUFFER, offset, bytes, &vboSize_);
  if (!gl::WriteStreamBuffer(GL_ARRAY_BUFFER, offset, bytes, data)) return -1;
  stats_.vertexBytes += bytes;
  vboOffset_ = offset + bytes;
  return (GLint)(offset / stride);
}

bool Device::ApplyProgram() {
  const DWORD* rs = state_.renderStates;
  const DWORD* ts = state_.stageStates[0];
  const DWORD fvf = state_.fvf;
  ProgramKey key;
  key.hasNormal = fvf & D3DFVF_NORMAL;
  key.hasDiffuse = fvf & D3DFVF_DIFFUSE;
  key.hasSpecular = fvf & D3DFVF_SPECULAR;
  key.hasTex = (fvf & D3DFVF_TEXCOUNT_MASK) != 0;
  key.lighting = rs[D3DRS_LIGHTING] != 0;
  key.specularEnable = rs[D3DRS_SPECULARENABLE] != 0;
  if (key.lighting) {
    key.lightEnabled = state_.light0Enabled;
    key.localViewer = rs[D3DRS_LOCALVIEWER] != 0;
    key.normalizeNormals = rs[D3DRS_NORMALIZENORMALS] != 0;
    key.colorVertex = rs[D3DRS_COLORVERTEX] != 0;
    key.diffuseSource = (uint8_t)rs[D3DRS_DIFFUSEMATERIALSOURCE];
    key.ambientSource = (uint8_t)rs[D3DRS_AMBIENTMATERIALSOURCE];
    key.specularSource = (uint8_t)rs[D3DRS_SPECULARMATERIALSOURCE];
    key.emissiveSource = (uint8_t)rs[D3DRS_EMISSIVEMATERIALSOURCE];
  }
  if (rs[D3DRS_FOGENABLE]) {
    // Table fog, where asked for, is computed per vertex as well.
    key.fogMode = (uint8_t)(rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE ? rs[D3DRS_FOGTABLEMODE] : rs[D3DRS_FOGVERTEXMODE]);
    key.rangeFog = rs[D3DRS_RANGEFOGENABLE] != 0;
  }
  key.colorOp = (uint8_t)ts[D3DTSS_COLOROP];
  key.colorArg1 = (uint8_t)ts[D3DTSS_COLORARG1];
  key.colorArg2 = (uint8_t)ts[D3DTSS_COLORARG2];
  key.alphaOp = (uint8_t)ts[D3DTSS_ALPHAOP];
  key.alphaArg1 = (uint8_t)ts[D3DTSS_ALPHAARG1];
  key.alphaArg2 = (uint8_t)ts[D3DTSS_ALPHAARG2];
  // A stage that reads a texture when none is bound passes the current
  // colour on instead (what D3D drivers do), at stage 0 the diffuse.
  if (!state_.textures[0]) {
    auto readsTexture = [](uint8_t op, uint8_t a1, uint8_t a2) {
      const bool one = (a1 & D3DTA_SELECTMASK) == D3DTA_TEXTURE, two = (a2 & D3DTA_SELECTMASK) == D3DTA_TEXTURE;
      if (op == D3DTOP_DISABLE) return false;
      if (op == D3DTOP_SELECTARG1) return one;
      if (op == D3DTOP_SELECTARG2) return two;
      return one || two;
    };
    if (readsTexture(key.colorOp, key.colorArg1, key.colorArg2))
      key.colorOp = D3DTOP_SELECTARG1, key.colorArg1 = D3DTA_CURRENT, key.colorArg2 = 0;
    if (readsTexture(key.alphaOp, key.alphaArg1, key.alphaArg2))
      key.alphaOp = D3DTOP_SELECTARG1, key.alphaArg1 = D3DTA_CURRENT, key.alphaArg2 = 0;
  }
  if (rs[D3DRS_ALPHATESTENABLE] && rs[D3DRS_ALPHAFUNC] != D3DCMP_ALWAYS) key.alphaFunc = (uint8_t)rs[D3DRS_ALPHAFUNC];

  const uint64_t packed = key.Pack();
  auto it = programs_.find(packed);
  if (it == programs_.end()) {
    FfpProgram program;
    if (!BuildFfpProgram(key, &program)) return false;
    gl_.program = program.program;  // linking left it bound
    it = programs_.emplace(packed, program).first;
  }
  FfpProgram& p = it->second;
  if (gl_.program != p.program) {
    ++stats_.programChanges;
    glUseProgram(p.program);
    gl_.program = p.program;
  }
  UploadUniforms(p);
  return true;
}

namespace {

// Uniforms a program does not use (location -1) are not sent.
struct UniformWriter {
  unsigned* count;
  void Vec(GLint at, int size, const float* v) {
    if (at < 0) return;
    ++*count;
    if (size == 1) glUniform1fv(at, 1, v);
    else if (size == 2) glUniform2fv(at, 1, v);
    else if (size == 3) glUniform3fv(at, 1, v);
    else glUniform4fv(at, 1, v);
  }
  void Matrix4(GLint at, const float* m) {
    if (at >= 0) ++*count, glUniformMatrix4fv(at, 1, GL_FALSE, m);
  }
};

}  // namespace

void Device::UploadUniforms(FfpProgram& p) {
  UniformWriter put{&stats_.uniformCalls};
  if (p.versions[kTransformGroup] != versions_[kTransformGroup]) {
    p.versions[kTransformGroup] = versions_[kTransformGroup];
    const D3DMATRIX wv = Multiply(state_.world, state_.view);
    const D3DMATRIX wvp = Multiply(wv, state_.projection);
    // D3D's row-major rows read as GLSL columns: M_glsl * v == v * M_d3d.
    put.Matrix4(p.wvp, &wvp.m[0][0]);
    put.Matrix4(p.wv, &wv.m[0][0]);
    if (p.normalMatrix >= 0) {
      float normal[9];
      NormalMatrix(wv, normal);
      glUniformMatrix3fv(p.normalMatrix, 1, GL_TRUE, normal);  // rows given
      ++stats_.uniformCalls;
    }
    const float fixup[2] = {1.f / state_.viewport.Width, 1.f / state_.viewport.Height};
    put.Vec(p.posFixup, 2, fixup);
  }
  if (p.versions[kLightingGroup] != versions_[kLightingGroup]) {
    p.versions[kLightingGroup] = versions_[kLightingGroup];
    const D3DLIGHT9& l = state_.light0;
    const D3DMATRIX& v = state_.view;
    // Direction towards the light, in view space.
    float dx = -(l.Direction.x * v._11 + l.Direction.y * v._21 + l.Direction.z * v._31);
    float dy = -(l.Direction.x * v._12 + l.Direction.y * v._22 + l.Direction.z * v._32);
    float dz = -(l.Direction.x * v._13 + l.Direction.y * v._23 + l.Direction.z * v._33);
    const float len = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (len > 0.f) dx /= len, dy /= len, dz /= len;
    const float toLight[3] = {dx, dy, dz};
    put.Vec(p.lightDir, 3, toLight);
    put.Vec(p.lightDiffuse, 4, &l.Diffuse.r);
    put.Vec(p.lightSpecular, 4, &l.Specular.r);
    put.Vec(p.lightAmbient, 4, &l.Ambient.r);
    const D3DMATERIAL9& m = state_.material;
    put.Vec(p.matDiffuse, 4, &m.Diffuse.r);
    put.Vec(p.matAmbient, 4, &m.Ambient.r);
    put.Vec(p.matSpecular, 4, &m.Specular.r);
    put.Vec(p.matEmissive, 4, &m.Emissive.r);
    put.Vec(p.matPower, 1, &m.Power);
    float ambient[4];
    ColorToFloats(state_.renderStates[D3DRS_AMBIENT], ambient);
    put.Vec(p.globalAmbient, 4, ambient);
  }
  if (p.versions[kPixelGroup] != versions_[kPixelGroup]) {
    p.versions[kPixelGroup] = versions_[kPixelGroup];
    const DWORD* rs = state_.renderStates;
    const float fog[4] = {AsFloat(rs[D3DRS_FOGSTART]), AsFloat(rs[D3DRS_FOGEND]), AsFloat(rs[D3DRS_FOGDENSITY]), 0.f};
    put.Vec(p.fogParams, 4, fog);
    float color[4];
    ColorToFloats(rs[D3DRS_FOGCOLOR], color);
    put.Vec(p.fogColor, 3, color);
    const float alphaRef = (float)(rs[D3DRS_ALPHAREF] & 0xFF);
    put.Vec(p.alphaRef, 1, &alphaRef);
    ColorToFloats(rs[D3DRS_TEXTUREFACTOR], color);
    put.Vec(p.texFactor, 4, color);
  }
}

void Device::ApplyViewport() {
  const D3DVIEWPORT9& vp = state_.viewport;
  // Rows are stored top first, so D3D's top-left origin maps directly.
  const GLint v[4] = {(GLint)vp.X, (GLint)vp.Y, (GLint)vp.Width, (GLint)vp.Height};
  if (std::memcmp(v, gl_.viewport, sizeof v) != 0) {
    glViewport(v[0], v[1], v[2], v[3]);
    std::memcpy(gl_.viewport, v, sizeof v);
  }
  if (gl_.depthRange[0] != vp.MinZ || gl_.depthRange[1] != vp.MaxZ) {
    gl::DepthRange(vp.MinZ, vp.MaxZ);
    gl_.depthRange[0] = vp.MinZ, gl_.depthRange[1] = vp.MaxZ;
  }
}

void Device::ApplyPipelineState() {
  const DWORD* rs = state_.renderStates;
  const int blend = rs[D3DRS_ALPHABLENDENABLE] ? 1 : 0;
  if (gl_.blend != blend) {
    blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    gl_.blend = blend;
  }
  if (blend) {
    const GLenum src = BlendFactor(rs[D3DRS_SRCBLEND], true), dst = BlendFactor(rs[D3DRS_DESTBLEND], false);
    if (gl_.blendSrc != src || gl_.blendDst != dst) {
      glBlendFunc(src, dst);
      gl_.blendSrc = src, gl_.blendDst = dst;
    }
    const GLenum equation = BlendEquation(rs[D3DRS_BLENDOP]);
    if (gl_.blendEquation != equation) {
      glBlendEquation(equation);
      gl_.blendEquation = equation;
    }
  }
  // Without a depth surface there is nothing to test against.
  const int depthTest = rs[D3DRS_ZENABLE] != D3DZB_FALSE && depthStencil_ ? 1 : 0;
  if (gl_.depthTest != depthTest) {
    depthTest ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    gl_.depthTest = depthTest;
  }
  if (depthTest) {
    const GLenum func = CompareFunc(rs[D3DRS_ZFUNC]);
    if (gl_.depthFunc != func) glDepthFunc(func), gl_.depthFunc = func;
    const int mask = rs[D3DRS_ZWRITEENABLE] ? 1 : 0;
    if (gl_.depthMask != mask) glDepthMask(mask ? GL_TRUE : GL_FALSE), gl_.depthMask = mask;
  }
  // Triangles clockwise on screen are counter-clockwise in the y-down GL
  // window space used here, so CCW culling culls GL's back faces.
  const int cull = rs[D3DRS_CULLMODE] == D3DCULL_NONE ? 0 : 1;
  if (gl_.cull != cull) {
    cull ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
    gl_.cull = cull;
  }
  if (cull) {
    const GLenum face = rs[D3DRS_CULLMODE] == D3DCULL_CW ? GL_FRONT : GL_BACK;
    if (gl_.cullFace != face) glCullFace(face), gl_.cullFace = face;
  }
  const DWORD colorMask = rs[D3DRS_COLORWRITEENABLE] & 0xF;
  if (gl_.colorMask != colorMask) {
    glColorMask(colorMask & 1, (colorMask >> 1) & 1, (colorMask >> 2) & 1, (colorMask >> 3) & 1);
    gl_.colorMask = colorMask;
  }
}

void Device::ApplySampler() {
  auto* texture = static_cast<Texture*>(state_.textures[0]);
  GLuint name = whiteTexture_;
  if (texture) {
    texture->PrepareForSampling();
    name = texture->name();
  }
  if (gl_.texture != name) {
    ++stats_.textureBinds;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, name);
    gl_.texture = name;
  }
  const DWORD* ss = state_.samplerStates[0];
  const uint32_t key = (ss[D3DSAMP_MINFILTER] & 0xF) | (ss[D3DSAMP_MAGFILTER] & 0xF) << 4 |
                       (ss[D3DSAMP_MIPFILTER] & 0xF) << 8 | (ss[D3DSAMP_ADDRESSU] & 0xF) << 12 |
                       (ss[D3DSAMP_ADDRESSV] & 0xF) << 16;
  auto it = samplers_.find(key);
  if (it == samplers_.end()) {
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    const bool linearMin = ss[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
    GLint minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
    if (ss[D3DSAMP_MIPFILTER] == D3DTEXF_POINT) minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    if (ss[D3DSAMP_MIPFILTER] >= D3DTEXF_LINEAR) minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minFilter);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, ss[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, AddressMode(ss[D3DSAMP_ADDRESSU]));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, AddressMode(ss[D3DSAMP_ADDRESSV]));
    it = samplers_.emplace(key, sampler).first;
  }
  if (gl_.sampler != it->second) {
    glBindSampler(0, it->second);
    gl_.sampler = it->second;
  }
}

HRESULT Device::Draw(D3DPRIMITIVETYPE type, UINT primitives, const void* vertices, UINT stride, const void* indices,
                     D3DFORMAT indexFormat, UINT minIndex, UINT vertexCount) {
  if (!vertices || stride == 0 || !renderTarget_) return D3DERR_INVALIDCALL;
  if ((state_.fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ || stride < FvfSize(state_.fvf)) return D3DERR_INVALIDCALL;
  const UINT count = VertexCount(type, primitives);
  if (count == 0) return primitives == 0 ? D3D_OK : D3DERR_INVALIDCALL;
  if (!indices) vertexCount = count, minIndex = 0;
  if ((GLsizeiptr)vertexCount * stride > kMaxStreamBytes - stride) return D3DERR_INVALIDCALL;
  if (drawLog_) RecordDraw(type, primitives, vertices, stride, indices != nullptr);
  ++stats_.draws;
  if (skippedPasses_ >> CurrentPass() & 1u) return D3D_OK;
  if (!ApplyProgram()) return D3DERR_DRIVERINTERNALERROR;
  ApplyFramebuffer();
  renderTarget_->NoteRendered();
  ApplyViewport();
  ApplyPipelineState();
  ApplySampler();
  glBindVertexArray(vao_);
  const GLint first =
      StreamVertices(static_cast<const uint8_t*>(vertices) + (size_t)minIndex * stride, vertexCount, stride);
  if (first < 0) return D3DERR_DRIVERINTERNALERROR;
  SetVertexLayout(state_.fvf, stride);
  if (!indices) {
    CountedDraw([&] { glDrawArrays(GlPrimitive(type), first, count); });
  } else {
    const gl::StreamIndices index =
        gl::PrepareIndices(indices, count, indexFormat == D3DFMT_INDEX32, first - (GLint)minIndex);
    const GLsizeiptr bytes = index.bytes;
    if (bytes > kMaxStreamBytes) return D3DERR_INVALIDCALL;
    const GLsizeiptr offset = StreamRoom(GL_ELEMENT_ARRAY_BUFFER, (iboOffset_ + 3) & ~GLsizeiptr(3), bytes, &iboSize_);
    if (!gl::WriteStreamBuffer(GL_ELEMENT_ARRAY_BUFFER, offset, bytes, index.data)) return D3DERR_DRIVERINTERNALERROR;
    stats_.indexBytes += bytes;
    iboOffset_ = offset + bytes;
    CountedDraw([&] { gl::DrawIndexed(GlPrimitive(type), count, index, offset); });
  }
  return D3D_OK;
}

template <typename DrawCall>
void Device::CountedDraw(DrawCall draw) {
  if (!countFragments_ || !gl::CanCountFragments()) return draw();
  if (!fragmentQuery_) glGenQueries(1, &fragmentQuery_);
  gl::BeginFragmentCount(fragmentQuery_);
  draw();
  stats_.fragments[CurrentPass()] += gl::EndFragmentCount(fragmentQuery_);
}

FragmentPass Device::CurrentPass() const {
  const DWORD* rs = state_.renderStates;
  if (renderTarget_ == backBuffer_) return kScreenPass;
  if (rs[D3DRS_LIGHTING] && (state_.fvf & D3DFVF_NORMAL)) return kLitPass;
  if (rs[D3DRS_ALPHABLENDENABLE] && rs[D3DRS_DESTBLEND] == D3DBLEND_ONE) return kAdditivePass;
  if (rs[D3DRS_ALPHABLENDENABLE]) return kBlendedPass;
  return kOpaquePass;
}

void Device::RecordDraw(D3DPRIMITIVETYPE type, UINT primitives, const void* vertices, UINT stride, bool indexed) {
  const DWORD* rs = state_.renderStates;
  DrawRecord r{renderTarget_, state_.textures[0], type, primitives, state_.fvf, stride, state_.world, state_.view,
               state_.projection, rs[D3DRS_DESTBLEND], rs[D3DRS_ZWRITEENABLE], rs[D3DRS_LIGHTING], {}};
  if (!indexed) {
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    r.vertices.assign(bytes, bytes + (size_t)VertexCount(type, primitives) * stride);
  }
  drawLog_->push_back(std::move(r));
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* vertices, UINT stride) {
  return Draw(type, count, vertices, stride, nullptr, D3DFMT_UNKNOWN, 0, 0);
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT count,
                                       const void* indices, D3DFORMAT indexFormat, const void* vertices, UINT stride) {
  if (!indices || (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
  return Draw(type, count, vertices, stride, indices, indexFormat, minIndex, vertexCount);
}

}  // namespace corvane::d3d9
