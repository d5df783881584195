#include "d3d9/gl_compat.h"

#include <cstring>
#include <vector>

namespace corvane::d3d9::gl {

#ifndef __EMSCRIPTEN__

const char* ShaderHeader() { return "#version 330 core\n"; }
GLint ColorAttributeSize() { return GL_BGRA; }
const char* ColorAttributeSwizzle() { return ""; }
GLint BorderAddressMode() { return GL_CLAMP_TO_BORDER; }
void ClearDepth(float depth) { glClearDepth(depth); }
void DepthRange(float nearZ, float farZ) { glDepthRange(nearZ, farZ); }

bool WriteStreamBuffer(GLenum target, GLintptr offset, GLsizeiptr bytes, const void* data) {
  void* dst = glMapBufferRange(target, offset, bytes,
                               GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
  if (!dst) return false;
  std::memcpy(dst, data, bytes);
  glUnmapBuffer(target);
  return true;
}

StreamIndices PrepareIndices(const void* indices, uint32_t count, bool wide, GLint baseVertex) {
  return {indices, GLsizeiptr(count) * (wide ? 4 : 2), GLenum(wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT), baseVertex};
}

void DrawIndexed(GLenum mode, GLsizei count, const StreamIndices& indices, GLintptr offset) {
  glDrawElementsBaseVertex(mode, count, indices.type, (const void*)offset, indices.baseVertex);
}

void UploadBgraLevel(GLuint, GLint level, GLsizei width, GLsizei height, const void* pixels, bool) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

void ReadBgraLevel(GLuint, GLint level, GLsizei, GLsizei, void* pixels) {
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGetTexImage(GL_TEXTURE_2D, level, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

// The texture's own texel order: OpenGL copies it as it is.
void UploadRgbaLevel(GLuint, GLint level, GLsizei width, GLsizei height, const void* pixels, bool) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}

void SampleAsOpaque() { glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE); }

bool CanCountFragments() { return true; }
void BeginFragmentCount(GLuint query) { glBeginQuery(GL_SAMPLES_PASSED, query); }
unsigned long long EndFragmentCount(GLuint query) {
  glEndQuery(GL_SAMPLES_PASSED);
  GLuint64 passed = 0;
  glGetQueryObjectui64v(query, GL_QUERY_RESULT, &passed);
  return passed;
}

#else

namespace {

// B,G,R,A and R,G,B,A differ by swapping bytes 0 and 2, both ways.
void SwapRedBlue(uint8_t* texels, size_t count, bool opaque) {
  for (size_t i = 0; i < count; ++i, texels += 4) {
    const uint8_t b = texels[0];
    texels[0] = texels[2];
    texels[2] = b;
    if (opaque) texels[3] = 255;
  }
}

void UploadTexels(GLint level, GLsizei width, GLsizei height, const void* rgba) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

}  // namespace

const char* ShaderHeader() { return "#version 300 es\nprecision highp float;\nprecision highp int;\n"; }
GLint ColorAttributeSize() { return 4; }
const char* ColorAttributeSwizzle() { return ".bgra"; }
// No border colour to clamp to: the edge texels stand in.
GLint BorderAddressMode() { return GL_CLAMP_TO_EDGE; }
void ClearDepth(float depth) { glClearDepthf(depth); }
void DepthRange(float nearZ, float farZ) { glDepthRangef(nearZ, farZ); }

bool WriteStreamBuffer(GLenum target, GLintptr offset, GLsizeiptr bytes, const void* data) {
  glBufferSubData(target, offset, bytes, data);
  return true;
}

StreamIndices PrepareIndices(const void* indices, uint32_t count, bool wide, GLint baseVertex) {
  static std::vector<uint32_t> rebased;
  rebased.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t index = wide ? static_cast<const uint32_t*>(indices)[i] : static_cast<const uint16_t*>(indices)[i];
    rebased[i] = index + uint32_t(baseVertex);
  }
  return {rebased.data(), GLsizeiptr(count) * 4, GLenum(GL_UNSIGNED_INT), 0};
}

void DrawIndexed(GLenum mode, GLsizei count, const StreamIndices& indices, GLintptr offset) {
  glDrawElements(mode, count, indices.type, (const void*)offset);
}

void UploadBgraLevel(GLuint, GLint level, GLsizei width, GLsizei height, const void* pixels, bool opaque) {
  std::vector<uint8_t> rgba(static_cast<const uint8_t*>(pixels),
                            static_cast<const uint8_t*>(pixels) + size_t(width) * height * 4);
  SwapRedBlue(rgba.data(), size_t(width) * height, opaque);
  UploadTexels(level, width, height, rgba.data());
}

// Without swizzles an opaque level's alpha is written as 1.
void UploadRgbaLevel(GLuint, GLint level, GLsizei width, GLsizei height, const void* pixels, bool opaque) {
  if (!opaque) return UploadTexels(level, width, height, pixels);
  std::vector<uint8_t> rgba(static_cast<const uint8_t*>(pixels),
                            static_cast<const uint8_t*>(pixels) + size_t(width) * height * 4);
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  UploadTexels(level, width, height, rgba.data());
}

// Through a framebuffer of its own; the caller's framebuffer binding stays.
void ReadBgraLevel(GLuint name, GLint level, GLsizei width, GLsizei height, void* pixels) {
  GLint previous = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
  GLuint fbo = 0;
  glGenFramebuffers(1, &fbo);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
  glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, level);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(previous));
  glDeleteFramebuffers(1, &fbo);
  SwapRedBlue(static_cast<uint8_t*>(pixels), size_t(width) * height, false);
}

void SampleAsOpaque() {}

bool CanCountFragments() { return false; }
void BeginFragmentCount(GLuint) {}
unsigned long long EndFragmentCount(GLuint) { return 0; }

#endif

}  // namespace corvane::d3d9::gl
