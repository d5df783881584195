#include "ffp_program.h"

#include <d3d9types.h>

#include <cstdio>

namespace corvane::d3d9 {

uint64_t ProgramKey::Pack() const {
  uint64_t k = 0;
  int shift = 0;
  auto put = [&](uint64_t value, int bits) {
    k |= (value & ((1ull << bits) - 1)) << shift;
    shift += bits;
  };
  put(hasNormal, 1), put(hasDiffuse, 1), put(hasSpecular, 1), put(hasTex, 1);
  put(lighting, 1), put(lightEnabled, 1), put(specularEnable, 1);
  put(localViewer, 1), put(normalizeNormals, 1), put(colorVertex, 1);
  put(diffuseSource, 2), put(ambientSource, 2), put(specularSource, 2), put(emissiveSource, 2);
  put(fogMode, 2), put(rangeFog, 1);
  put(colorOp, 5), put(colorArg1, 6), put(colorArg2, 6);
  put(alphaOp, 5), put(alphaArg1, 6), put(alphaArg2, 6);
  put(alphaFunc, 4);
  return k;
}

namespace {

const char* kCommonUniforms = R"(
uniform mat4 u_wvp;
uniform mat4 u_wv;
uniform mat3 u_normalMatrix;
uniform vec2 u_posFixup;
uniform vec3 u_lightDir;
uniform vec4 u_lightDiffuse;
uniform vec4 u_lightSpecular;
uniform vec4 u_lightAmbient;
uniform vec4 u_matDiffuse;
uniform vec4 u_matAmbient;
uniform vec4 u_matSpecular;
uniform vec4 u_matEmissive;
uniform float u_matPower;
uniform vec4 u_globalAmbient;
uniform vec4 u_fogParams;
uniform vec3 u_fogColor;
uniform float u_alphaRef;
uniform vec4 u_texFactor;
)";

// The material colour source: a vertex colour only when COLORVERTEX is on and
// the vertex carries that colour, else the material member.
std::string MaterialSource(const ProgramKey& key, uint8_t source, const char* member) {
  if (key.colorVertex && source == D3DMCS_COLOR1 && key.hasDiffuse) return "a_diffuse";
  if (key.colorVertex && source == D3DMCS_COLOR2 && key.hasSpecular) return "a_specular";
  return member;
}

std::string Argument(uint8_t arg, bool alpha) {
  std::string base;
  switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
    case D3DTA_CURRENT: base = "v_diffuse"; break;  // stage 0: current is the diffuse
    case D3DTA_TEXTURE: base = "tex"; break;
    case D3DTA_TFACTOR: base = "u_texFactor"; break;
    case D3DTA_SPECULAR: base = "v_specular"; break;
    default: base = "vec4(0.0)"; break;
  }
  if (arg & D3DTA_ALPHAREPLICATE) base = "(" + base + ").aaaa";
  if (arg & D3DTA_COMPLEMENT) base = "(vec4(1.0) - " + base + ")";
  return "(" + base + (alpha ? ").a" : ").rgb");
}

std::string Operation(uint8_t op, uint8_t arg1, uint8_t arg2, bool alpha) {
  const std::string a = Argument(arg1, alpha), b = Argument(arg2, alpha);
  const std::string current = alpha ? "v_diffuse.a" : "v_diffuse.rgb";
  switch (op) {
    case D3DTOP_DISABLE: return current;
    case D3DTOP_SELECTARG1: return a;
    case D3DTOP_SELECTARG2: return b;
    case D3DTOP_MODULATE2X: return "clamp(" + a + " * " + b + " * 2.0, 0.0, 1.0)";
    case D3DTOP_MODULATE4X: return "clamp(" + a + " * " + b + " * 4.0, 0.0, 1.0)";
    case D3DTOP_ADD: return "min(" + a + " + " + b + ", 1.0)";
    case D3DTOP_ADDSIGNED: return "clamp(" + a + " + " + b + " - 0.5, 0.0, 1.0)";
    case D3DTOP_SUBTRACT: return "max(" + a + " - " + b + ", 0.0)";
    default: return a + " * " + b;  // MODULATE and anything not emulated
  }
}

const char* Comparison(uint8_t func) {
  switch (func) {
    case D3DCMP_NEVER: return "false";
    case D3DCMP_LESS: return "a < ref";
    case D3DCMP_EQUAL: return "a == ref";
    case D3DCMP_LESSEQUAL: return "a <= ref";
    case D3DCMP_GREATER: return "a > ref";
    case D3DCMP_NOTEQUAL: return "a != ref";
    case D3DCMP_GREATEREQUAL: return "a >= ref";
    default: return "true";
  }
}

GLuint CompileShader(GLenum type, const std::string& source) {
  GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "d3d9: fixed-function shader failed to compile:\n%s\n", log);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

std::string VertexShaderSource(const ProgramKey& key) {
  std::string s = gl::ShaderHeader();
  s += kCommonUniforms;
  s += R"(
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec4 a_diffuseColor;
layout(location = 3) in vec4 a_specularColor;
layout(location = 4) in vec2 a_texCoord;
out vec4 v_diffuse;
out vec4 v_specular;
out vec2 v_texCoord;
out float v_fog;
void main() {
)";
  // D3DCOLOR bytes arrive as B,G,R,A where no BGRA attribute format exists.
  s += std::string("  vec4 a_diffuse = a_diffuseColor") + gl::ColorAttributeSwizzle() + ";\n";
  s += std::string("  vec4 a_specular = a_specularColor") + gl::ColorAttributeSwizzle() + ";\n";
  s += R"(
  vec4 position = vec4(a_position, 1.0);
  vec4 clip = u_wvp * position;
  vec3 eye = (u_wv * position).xyz;
  v_texCoord = a_texCoord;
)";
  if (key.lighting) {
    s += "  vec4 cd = " + MaterialSource(key, key.diffuseSource, "u_matDiffuse") + ";\n";
    s += "  vec4 ca = " + MaterialSource(key, key.ambientSource, "u_matAmbient") + ";\n";
    s += "  vec4 cs = " + MaterialSource(key, key.specularSource, "u_matSpecular") + ";\n";
    s += "  vec4 ce = " + MaterialSource(key, key.emissiveSource, "u_matEmissive") + ";\n";
    s += "  vec3 ambient = u_globalAmbient.rgb;\n";
    if (key.lightEnabled) s += "  ambient += u_lightAmbient.rgb;\n";
    s += "  vec3 color = ca.rgb * ambient + ce.rgb;\n  vec3 highlight = vec3(0.0);\n";
    // Diffuse and specular need a normal; vertices without one get only the
    // ambient and emissive terms.
    if (key.lightEnabled && key.hasNormal) {
      s += "  vec3 n = u_normalMatrix * a_normal;\n";
      if (key.normalizeNormals) s += "  n = normalize(n);\n";
      s += "  float nl = dot(n, u_lightDir);\n  if (nl > 0.0) {\n";
      s += "    color += cd.rgb * u_lightDiffuse.rgb * nl;\n";
      if (key.specularEnable) {
        s += key.localViewer ? "    vec3 toEye = normalize(-eye);\n" : "    vec3 toEye = vec3(0.0, 0.0, -1.0);\n";
        s += "    float nh = dot(n, normalize(u_lightDir + toEye));\n";
        s += "    if (nh > 0.0) highlight = cs.rgb * u_lightSpecular.rgb * pow(nh, u_matPower);\n";
      }
      s += "  }\n";
    }
    s += "  v_diffuse = vec4(clamp(color, 0.0, 1.0), cd.a);\n";
    s += "  v_specular = vec4(clamp(highlight, 0.0, 1.0), cs.a);\n";
  } else {
    s += key.hasDiffuse ? "  v_diffuse = a_diffuse;\n" : "  v_diffuse = vec4(1.0);\n";
    s += key.hasSpecular ? "  v_specular = a_specular;\n" : "  v_specular = vec4(0.0);\n";
  }
  // Vertex fog from the eye-space depth (distance with range fog).
  if (key.fogMode != D3DFOG_NONE) {
    s += key.rangeFog ? "  float d = length(eye);\n" : "  float d = abs(eye.z);\n";
    switch (key.fogMode) {
      case D3DFOG_EXP: s += "  v_fog = clamp(exp(-u_fogParams.z * d), 0.0, 1.0);\n"; break;
      case D3DFOG_EXP2: s += "  v_fog = clamp(exp(-(u_fogParams.z * d) * (u_fogParams.z * d)), 0.0, 1.0);\n"; break;
      default:
        s += "  float range = u_fogParams.y - u_fogParams.x;\n";
        s += "  v_fog = range != 0.0 ? clamp((u_fogParams.y - d) / range, 0.0, 1.0) : (d < u_fogParams.y ? 1.0 : 0.0);\n";
        break;
    }
  } else {
    s += "  v_fog = 1.0;\n";
  }
  // D3D clip z runs 0..w, GL's -w..w; rows are stored top first (y flipped);
  // and D3D pixel centres sit on integer coordinates (half-pixel shift).
  s += "  gl_Position = vec4(clip.x + u_posFixup.x * clip.w, -clip.y + u_posFixup.y * clip.w,\n"
       "                     2.0 * clip.z - clip.w, clip.w);\n}\n";
  return s;
}

std::string FragmentShaderSource(const ProgramKey& key) {
  std::string s = gl::ShaderHeader();
  s += kCommonUniforms;
  s += R"(
uniform sampler2D u_texture;
in vec4 v_diffuse;
in vec4 v_specular;
in vec2 v_texCoord;
in float v_fog;
out vec4 o_color;
void main() {
  vec4 tex = texture(u_texture, v_texCoord);
)";
  s += "  vec3 rgb = " + Operation(key.colorOp, key.colorArg1, key.colorArg2, false) + ";\n";
  // A disabled colour stage disables the alpha stage with it.
  const uint8_t alphaOp = key.colorOp == D3DTOP_DISABLE ? uint8_t(D3DTOP_DISABLE) : key.alphaOp;
  s += "  float alpha = " + Operation(alphaOp, key.alphaArg1, key.alphaArg2, true) + ";\n";
  if (key.specularEnable) s += "  rgb = min(rgb + v_specular.rgb, 1.0);\n";
  if (key.alphaFunc != 0) {
    s += "  float a = floor(alpha * 255.0 + 0.5);\n  float ref = u_alphaRef;\n";
    s += std::string("  if (!(") + Comparison(key.alphaFunc) + ")) discard;\n";
  }
  if (key.fogMode != D3DFOG_NONE) s += "  rgb = mix(u_fogColor, rgb, v_fog);\n";
  s += "  o_color = vec4(rgb, alpha);\n}\n";
  return s;
}

bool BuildFfpProgram(const ProgramKey& key, FfpProgram* out) {
  GLuint vs = CompileShader(GL_VERTEX_SHADER, VertexShaderSource(key));
  GLuint fs = CompileShader(GL_FRAGMENT_SHADER, FragmentShaderSource(key));
  if (!vs || !fs) {
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return false;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "d3d9: fixed-function program failed to link:\n%s\n", log);
    glDeleteProgram(program);
    return false;
  }
  FfpProgram p;
  p.program = program;
  auto loc = [&](const char* name) { return glGetUniformLocation(program, name); };
  p.wvp = loc("u_wvp"), p.wv = loc("u_wv"), p.normalMatrix = loc("u_normalMatrix"), p.posFixup = loc("u_posFixup");
  p.lightDir = loc("u_lightDir"), p.lightDiffuse = loc("u_lightDiffuse");
  p.lightSpecular = loc("u_lightSpecular"), p.lightAmbient = loc("u_lightAmbient");
  p.matDiffuse = loc("u_matDiffuse"), p.matAmbient = loc("u_matAmbient");
  p.matSpecular = loc("u_matSpecular"), p.matEmissive = loc("u_matEmissive"), p.matPower = loc("u_matPower");
  p.globalAmbient = loc("u_globalAmbient");
  p.fogParams = loc("u_fogParams"), p.fogColor = loc("u_fogColor");
  p.alphaRef = loc("u_alphaRef"), p.texFactor = loc("u_texFactor");
  glUseProgram(program);
  glUniform1i(loc("u_texture"), 0);
  *out = p;
  return true;
}

}  // namespace corvane::d3d9
