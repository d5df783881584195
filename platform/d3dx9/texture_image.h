// The picture operations of D3DX texture loading: colour key, unscaled
// placement, resampling and mip reduction, on RGBA images.
#pragma once

#include <d3dx9.h>

#include <string>

#include "d3dx9/image_decode.h"

namespace corvane::d3dx9 {

UINT NextPowerOfTwo(UINT value);

// Texels whose A8R8G8B8 value equals `key` exactly become transparent black.
// A key of 0 keys nothing.
void ApplyColorKey(DecodedImage* image, DWORD key);

// The image copied to the top-left of a width x height picture without
// scaling: cut where it is larger, transparent black where it is smaller.
// An image of that size already is handed back without a copy.
DecodedImage PlaceUnscaled(DecodedImage image, int width, int height);

// The image stretched over width x height (bilinear, texel centres aligned).
DecodedImage Resample(DecodedImage image, int width, int height);

// The next mip level: each texel the average of up to 2x2 texels.
DecodedImage HalveImage(const DecodedImage& image);

// Pictures larger than this are not textures of any D3D9 device.
constexpr size_t kMaxPictureFileBytes = 256 << 20;

// A picture file read and decoded: everything that depends on the file alone.
struct PictureFile {
  bool ok = false;
  std::string error;  // why not, when !ok
  DecodedImage image;
  D3DXIMAGE_FILEFORMAT format = D3DXIFF_BMP;
};

// Reads and decodes the file at `path` (already resolved). Uses no shared
// state (the load error is the caller's to set), so any thread may run it.
PictureFile ReadPictureFile(const std::string& path);

// Everything D3DXCreateTextureFromFileExA does before it needs the device:
// the file read and decoded, colour-keyed, and placed or scaled to the size
// the texture will have (its first level). Failures set the load error.
HRESULT TextureImageFromFile(const char* srcfile, UINT width, UINT height, DWORD filter, D3DCOLOR colorkey,
                             D3DXIMAGE_INFO* srcinfo, DecodedImage* level0);

}  // namespace corvane::d3dx9
