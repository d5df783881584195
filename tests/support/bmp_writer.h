// Small BMP files written by hand for the texture and mesh tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// An uncompressed bottom-up BMP of 0xAARRGGBB texels at 8 (palette built from
// the texels), 24 or 32 bits a pixel.
std::vector<uint8_t> MakeBmp(int w, int h, const std::vector<DWORD>& texels, int bpp);
