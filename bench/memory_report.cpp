#include "memory_report.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <epoxy/gl.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::bench {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
// Object names are small integers handed out from 1 in OpenAL Soft and Mesa.
constexpr unsigned kNamesWalked = 4096;

struct Mapping {
  uintptr_t start = 0, end = 0;
  std::string perms, name;
  size_t rss = 0, anonymous = 0;  // bytes
};

std::vector<Mapping> ReadMappings() {
  std::vector<Mapping> mappings;
  std::ifstream in("/proc/self/smaps");
  std::string line;
  while (std::getline(in, line)) {
    const size_t colon = line.find(':');
    const size_t space = line.find(' ');
    if (colon != std::string::npos && colon < space) {  // "Field:   123 kB"
      if (mappings.empty()) continue;
      const size_t bytes = std::strtoull(line.c_str() + colon + 1, nullptr, 10) * 1024;
      if (line.compare(0, colon, "Rss") == 0) mappings.back().rss = bytes;
      else if (line.compare(0, colon, "Anonymous") == 0) mappings.back().anonymous = bytes;
      continue;
    }
    Mapping m;  // "start-end perms offset dev inode [name]"
    std::istringstream fields(line);
    std::string range, offset, device, inode;
    fields >> range >> m.perms >> offset >> device >> inode;
    std::getline(fields >> std::ws, m.name);
    m.start = std::strtoull(range.c_str(), nullptr, 16);
    m.end = std::strtoull(range.c_str() + range.find('-') + 1, nullptr, 16);
    mappings.push_back(m);
  }
  return mappings;
}

// Kilobytes of one /proc/self/status field ("VmHWM", "VmRSS").
double StatusMiB(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(field);
  while (std::getline(in, line))
    if (line.compare(0, n, field) == 0 && line[n] == ':') return std::strtod(line.c_str() + n + 1, nullptr) / 1024.0;
  return 0.0;
}

void PrintLibraries(std::FILE* out, const std::vector<Mapping>& mappings) {
  struct Use {
    size_t clean = 0, written = 0;
  };
  std::map<std::string, Use> byFile;
  Use all;
  for (const Mapping& m : mappings) {
    if (m.name.empty() || m.name[0] != '/') continue;
    Use& use = byFile[m.name.substr(m.name.rfind('/') + 1)];
    use.clean += m.rss - m.anonymous, use.written += m.anonymous;
    all.clean += m.rss - m.anonymous, all.written += m.anonymous;
  }
  std::vector<std::pair<std::string, Use>> sorted(byFile.begin(), byFile.end());
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return a.second.clean + a.second.written > b.second.clean + b.second.written;
  });
  std::fprintf(out,
               "  files         %6.1f MiB read from the file + %.1f MiB of their pages written (relocations, data)\n",
               all.clean / kMiB, all.written / kMiB);
  Use rest;
  size_t restCount = 0, shown = 0;
  for (const auto& [name, use] : sorted) {
    if (use.clean + use.written < kMiB) {
      rest.clean += use.clean, rest.written += use.written, ++restCount;
      continue;
    }
    std::fprintf(out, "%s%s %.1f+%.1f", shown % 4 ? ", " : (shown ? ",\n                " : "                "),
                 name.c_str(), use.clean / kMiB, use.written / kMiB);
    ++shown;
  }
  std::fprintf(out, "%s%zu smaller %.1f+%.1f\n", shown ? ", " : "                ", restCount, rest.clean / kMiB,
               rest.written / kMiB);
}

// Unnamed mappings: glibc's arenas for other threads start on a 64 MiB
// boundary; a thread's stack sits just above its guard page.
void PrintAnonymous(std::FILE* out, const std::vector<Mapping>& mappings) {
  size_t heap = 0, stack = 0, arenas = 0, stacks = 0, other = 0;
  int arenaCount = 0, stackCount = 0;
  for (size_t i = 0; i < mappings.size(); ++i) {
    const Mapping& m = mappings[i];
    if (m.name == "[heap]") heap += m.rss;
    else if (m.name == "[stack]") stack += m.rss;
    if (!m.name.empty() || m.perms.compare(0, 2, "rw") != 0) continue;
    const Mapping* below = i > 0 ? &mappings[i - 1] : nullptr;
    if (m.start % (64u << 20) == 0) {
      arenas += m.rss, ++arenaCount;
    } else if (below && below->end == m.start && below->name.empty() && below->perms.compare(0, 3, "---") == 0 &&
               below->end - below->start <= (64u << 10)) {
      stacks += m.rss, ++stackCount;
    } else {
      other += m.rss;
    }
  }
  std::fprintf(out,
               "  anonymous     %6.1f MiB: main heap %.1f, %d thread arenas %.1f, %d thread stacks %.1f + main %.1f,\n"
               "                other mappings %.1f (malloc's blocks of their own mapping, driver buffers)\n",
               (heap + stack + arenas + stacks + other) / kMiB, heap / kMiB, arenaCount, arenas / kMiB, stackCount,
               stacks / kMiB, stack / kMiB, other / kMiB);
  const struct mallinfo2 info = mallinfo2();
  std::fprintf(out,
               "  malloc        %6.1f MiB in use (%.1f MiB of it in blocks of their own mapping), "
               "%.1f MiB free inside its arenas\n",
               (info.uordblks + info.hblkhd) / kMiB, info.hblkhd / kMiB, info.fordblks / kMiB);
}

void PrintOpenAl(std::FILE* out) {
  if (!alcGetCurrentContext()) {
    std::fprintf(out, "  OpenAL        no current context\n");
    return;
  }
  size_t bytes = 0;
  int buffers = 0;
  for (ALuint name = 1; name <= kNamesWalked; ++name) {
    if (!alIsBuffer(name)) continue;
    ALint size = 0;
    alGetBufferi(name, AL_SIZE, &size);
    bytes += (size_t)std::max(size, 0), ++buffers;
  }
  alGetError();
  std::fprintf(out, "  OpenAL        %6.1f MiB of samples in %d buffers\n", bytes / kMiB, buffers);
}

// Bits of a texture level's or renderbuffer's texel, from its component sizes.
template <typename Query>
size_t TexelBytes(Query query, bool renderbuffer) {
  const GLenum texture[] = {GL_TEXTURE_RED_SIZE,   GL_TEXTURE_GREEN_SIZE, GL_TEXTURE_BLUE_SIZE,
                            GL_TEXTURE_ALPHA_SIZE, GL_TEXTURE_DEPTH_SIZE, GL_TEXTURE_STENCIL_SIZE};
  const GLenum buffer[] = {GL_RENDERBUFFER_RED_SIZE,   GL_RENDERBUFFER_GREEN_SIZE, GL_RENDERBUFFER_BLUE_SIZE,
                           GL_RENDERBUFFER_ALPHA_SIZE, GL_RENDERBUFFER_DEPTH_SIZE, GL_RENDERBUFFER_STENCIL_SIZE};
  GLint bits = 0;
  for (int i = 0; i < 6; ++i) bits += query(renderbuffer ? buffer[i] : texture[i]);
  return (size_t)(bits + 7) / 8;
}

void PrintOpenGl(std::FILE* out) {
  GLint texture = 0, renderbuffer = 0, copyBuffer = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
  glGetIntegerv(GL_RENDERBUFFER_BINDING, &renderbuffer);
  glGetIntegerv(GL_COPY_READ_BUFFER_BINDING, &copyBuffer);
  size_t textureBytes = 0, renderbufferBytes = 0, bufferBytes = 0;
  int textures = 0, renderbuffers = 0, buffers = 0;
  for (GLuint name = 1; name <= kNamesWalked; ++name) {
    if (glIsTexture(name)) {
      glBindTexture(GL_TEXTURE_2D, name);
      for (GLint level = 0;; ++level) {
        auto query = [&](GLenum what) {
          GLint value = 0;
          glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
          return value;
        };
        const size_t texels = (size_t)query(GL_TEXTURE_WIDTH) * query(GL_TEXTURE_HEIGHT);
        if (texels == 0) break;
        textureBytes += texels * TexelBytes(query, false);
      }
      ++textures;
    }
    if (glIsRenderbuffer(name)) {
      glBindRenderbuffer(GL_RENDERBUFFER, name);
      auto query = [](GLenum what) {
        GLint value = 0;
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, what, &value);
        return value;
      };
      const size_t samples = std::max(1, query(GL_RENDERBUFFER_SAMPLES));
      renderbufferBytes +=
          (size_t)query(GL_RENDERBUFFER_WIDTH) * query(GL_RENDERBUFFER_HEIGHT) * samples * TexelBytes(query, true);
      ++renderbuffers;
    }
    if (glIsBuffer(name)) {
      glBindBuffer(GL_COPY_READ_BUFFER, name);
      GLint size = 0;
      glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &size);
      bufferBytes += (size_t)std::max(size, 0), ++buffers;
    }
  }
  glBindTexture(GL_TEXTURE_2D, (GLuint)texture);
  glBindRenderbuffer(GL_RENDERBUFFER, (GLuint)renderbuffer);
  glBindBuffer(GL_COPY_READ_BUFFER, (GLuint)copyBuffer);
  while (glGetError() != GL_NO_ERROR) {
  }
  std::fprintf(
      out, "  OpenGL        %6.1f MiB: textures %.1f MiB in %d, renderbuffers %.1f MiB in %d, buffers %.1f MiB in %d\n",
      (textureBytes + renderbufferBytes + bufferBytes) / kMiB, textureBytes / kMiB, textures, renderbufferBytes / kMiB,
      renderbuffers, bufferBytes / kMiB, buffers);
}

}  // namespace

double PeakResidentMiB() { return StatusMiB("VmHWM"); }

void PrintMemoryReport(std::FILE* out, const char* when) {
  const std::vector<Mapping> mappings = ReadMappings();
  std::fprintf(out, "memory %s: %.1f MiB resident (%.1f file, %.1f anonymous), peak so far %.1f MiB\n", when,
               StatusMiB("VmRSS"), StatusMiB("RssFile"), StatusMiB("RssAnon"), PeakResidentMiB());
  PrintLibraries(out, mappings);
  PrintAnonymous(out, mappings);
  PrintOpenAl(out);
  PrintOpenGl(out);
}

}  // namespace corvane::bench
