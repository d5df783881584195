// The one place where the device's OpenGL 3.3 core calls and their WebGL 2
// (OpenGL ES 3.0) counterparts differ. WebGL 2 lacks buffer mapping, base
// vertices, BGRA vertex colours and texels, texture read-back, swizzles,
// border clamping, fragment counting and double-precision depth calls.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <epoxy/gl.h>
#endif

#include <cstdint>

namespace corvane::d3d9::gl {

// The first lines of every shader (version and default precision).
const char* ShaderHeader();

// D3DCOLOR vertex elements are bytes B,G,R,A: the size glVertexAttribPointer
// gets for them, and the swizzle the vertex shader applies to what it reads.
GLint ColorAttributeSize();
const char* ColorAttributeSwizzle();

// What D3DTADDRESS_BORDER becomes.
GLint BorderAddressMode();

void ClearDepth(float depth);
void DepthRange(float nearZ, float farZ);

// Writes data into the bound buffer at a range no queued draw reads.
bool WriteStreamBuffer(GLenum target, GLintptr offset, GLsizeiptr bytes, const void* data);

// Indices for a draw whose vertices start at `baseVertex` of the stream:
// passed on as they are with the base kept for the draw, or rebased into
// 32-bit indices (with a base of 0) where draws take no base vertex.
struct StreamIndices {
  const void* data;
  GLsizeiptr bytes;
  GLenum type;
  GLint baseVertex;
};
StreamIndices PrepareIndices(const void* indices, uint32_t count, bool wide, GLint baseVertex);
void DrawIndexed(GLenum mode, GLsizei count, const StreamIndices& indices, GLintptr offset);

// Texture levels in D3D's A8R8G8B8 memory layout (bytes B,G,R,A), into and
// out of the texture bound to GL_TEXTURE_2D (`name`). `opaque` levels belong
// to a format without alpha.
void UploadBgraLevel(GLuint name, GLint level, GLsizei width, GLsizei height, const void* pixels, bool opaque);
void ReadBgraLevel(GLuint name, GLint level, GLsizei width, GLsizei height, void* pixels);
// The same from bytes R,G,B,A, the order pictures decode to.
void UploadRgbaLevel(GLuint name, GLint level, GLsizei width, GLsizei height, const void* pixels, bool opaque);
// Makes the bound texture sample as opaque where the API can (X8R8G8B8).
void SampleAsOpaque();

// Runs a draw and says how many fragments it wrote; 0 where it cannot count.
bool CanCountFragments();
void BeginFragmentCount(GLuint query);
unsigned long long EndFragmentCount(GLuint query);

}  // namespace corvane::d3d9::gl
