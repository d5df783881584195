// The texture groups. Each group appends its finished pictures; the game's
// TEXTURE_TABLE says which are written, at what size.
#pragma once

#include <string>
#include <vector>

#include "app/asset_table.h"
#include "image.h"

struct TextureFile {
  std::string name;  // path below the data folder, e.g. "bmp/123.bmp"
  Image image;
};

void MakeTextTextures(std::vector<TextureFile>& out);        // digits, numerals, words
void MakeHudTextures(std::vector<TextureFile>& out);         // gauges, frames, reticle, arrows
void MakeIconTextures(std::vector<TextureFile>& out);        // item reel, mode badges, trophy
void MakeEffectTextures(std::vector<TextureFile>& out);      // glows, flares, smoke, bursts
void MakeBackgroundTextures(std::vector<TextureFile>& out);  // planets, nebula, galaxies
void MakeTitleTexture(std::vector<TextureFile>& out);        // the title illustration

// Colours that must never appear by accident in keyed art.
constexpr Rgba kMagenta{1.0f, 0.0f, 1.0f, 1.0f};
// Writes exact magenta where coverage is below half, so no pixel blends
// toward the key; the art itself must keep away from magenta.
void KeyOutside(Image& img, const Mask& opaque);
// Lifts every pure black pixel where coverage is at least half to (1,1,1)
// and writes pure black elsewhere: black-keyed art with no stray holes.
void BlackKeyOutside(Image& img, const Mask& opaque);
