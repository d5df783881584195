#include "win32/window_icon.h"

#include <SDL.h>

#include <cstdio>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace corvane {
namespace {

std::vector<std::string> iconFolders;

bool Readable(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

}  // namespace

void SetIconFolders(const std::vector<std::string>& folders) { iconFolders = folders; }

bool SetProgramIcon(SDL_Window* window) {
  std::vector<std::string> candidates = {"icon.png"};
  for (const auto& folder : iconFolders) candidates.push_back(folder + "/icon.png");
  std::string path;
  for (const auto& candidate : candidates)
    if (path.empty() && Readable(candidate)) path = candidate;
  if (path.empty()) return false;

  int w = 0, h = 0, channels = 0;
  unsigned char* rgba = stbi_load(path.c_str(), &w, &h, &channels, 4);
  if (!rgba) {
    std::fprintf(stderr, "corvane: the icon '%s' cannot be read: %s\n", path.c_str(), stbi_failure_reason());
    return false;
  }
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(rgba, w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface) {
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
  }
  stbi_image_free(rgba);
  return surface != nullptr;
}

}  // namespace corvane
