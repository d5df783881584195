// D3DXCreateTexture and the texture-from-file loaders, over the device's
// CreateTexture and its level fill (A8R8G8B8 textures filled from the
// decoded R, G, B, A bytes as they are).
#include <d3dx9.h>

#include <cstring>
#include <utility>

#include "common/path_lookup.h"
#include "common/startup_marks.h"
#include "d3dx9/picture_prefetch.h"
#include "d3dx9/texture_image.h"
#include "internal/d3d9_device.h"

using corvane::d3dx9::DecodedImage;

namespace {

UINT FullMipChain(UINT width, UINT height) {
  UINT levels = 1;
  for (UINT size = width > height ? width : height; size > 1; size >>= 1) ++levels;
  return levels;
}

HRESULT Refuse(const std::string& why, HRESULT hr) {
  corvane::SetLoadError(why);
  return hr;
}

// The size D3DX makes for a requested size and the file's own size.
UINT TextureSize(UINT requested, UINT fileSize) {
  if (requested == 0 || requested == D3DX_DEFAULT_NONPOW2 || requested == D3DX_FROM_FILE) return fileSize;
  if (requested == D3DX_DEFAULT) return corvane::d3dx9::NextPowerOfTwo(fileSize);
  return requested;
}

}  // namespace

HRESULT WINAPI D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT miplevels, DWORD usage,
                                 D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  // Missing sizes default to 256, as D3DXCheckTextureRequirements does.
  if (width == 0 || width == D3DX_DEFAULT) width = 256;
  if (height == 0 || height == D3DX_DEFAULT) height = 256;
  if (miplevels == 0 || miplevels == D3DX_DEFAULT) miplevels = FullMipChain(width, height);
  if (format == D3DFMT_UNKNOWN || format == D3DFMT_R8G8B8) format = D3DFMT_A8R8G8B8;
  return device->CreateTexture(width, height, miplevels, usage, format, pool, texture, nullptr);
}

namespace corvane::d3dx9 {
namespace {

D3DXIMAGE_FILEFORMAT FileFormatOf(const std::string& bytes) {
  if (bytes.size() >= 4 && uint8_t(bytes[0]) == 0x89 && bytes[1] == 'P') return D3DXIFF_PNG;
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xD8) return D3DXIFF_JPG;
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return D3DXIFF_BMP;
  return D3DXIFF_TGA;
}

}  // namespace

PictureFile ReadPictureFile(const std::string& path) {
  PictureFile picture;
  std::string bytes;
  if (!ReadRegularFile(path, kMaxPictureFileBytes, &bytes, &picture.error)) return picture;
  if (!DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &picture.image, &picture.error))
    return picture;
  picture.format = FileFormatOf(bytes);
  picture.ok = true;
  return picture;
}

HRESULT TextureImageFromFile(const char* srcfile, UINT width, UINT height, DWORD filter, D3DCOLOR colorkey,
                             D3DXIMAGE_INFO* srcinfo, DecodedImage* level0) {
  SetLoadError("");
  const std::string path = ResolvePath(srcfile);
  if (path.empty()) return Refuse("no such file", D3DXERR_INVALIDDATA);
  PictureFile picture;
  if (!TakePrefetchedPicture(path, &picture)) picture = ReadPictureFile(path);
  if (!picture.ok) return Refuse(picture.error, D3DXERR_INVALIDDATA);
  DecodedImage& image = picture.image;
  if (srcinfo) {
    srcinfo->Width = UINT(image.width);
    srcinfo->Height = UINT(image.height);
    srcinfo->Depth = 1;
    srcinfo->MipLevels = 1;
    srcinfo->Format = D3DFMT_A8R8G8B8;
    srcinfo->ResourceType = D3DRTYPE_TEXTURE;
    srcinfo->ImageFileFormat = picture.format;
  }

  // The key is compared with the source pixel before any scaling or padding.
  ApplyColorKey(&image, colorkey);

  const UINT w = TextureSize(width, UINT(image.width));
  const UINT h = TextureSize(height, UINT(image.height));
  if (w > 16384 || h > 16384) return Refuse("texture size too large", D3DERR_INVALIDCALL);
  if (filter == D3DX_DEFAULT) filter = D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER;
  *level0 = (filter & 0xFF) == D3DX_FILTER_NONE ? PlaceUnscaled(std::move(image), int(w), int(h))
                                                : Resample(std::move(image), int(w), int(h));
  return D3D_OK;
}

}  // namespace corvane::d3dx9

HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, const char* srcfile, UINT width, UINT height,
                                            UINT miplevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD mipfilter, D3DCOLOR colorkey,
                                            D3DXIMAGE_INFO* srcinfo, PALETTEENTRY* palette,
                                            IDirect3DTexture9** texture) {
  if (!device || !srcfile || !texture) return D3DERR_INVALIDCALL;
  const corvane::StartupTimer timer(corvane::StartupPart::Pictures);
  *texture = nullptr;
  DecodedImage level0;
  HRESULT hr = corvane::d3dx9::TextureImageFromFile(srcfile, width, height, filter, colorkey, srcinfo, &level0);
  if (FAILED(hr)) return hr;
  const UINT w = UINT(level0.width), h = UINT(level0.height);

  UINT levels = miplevels;
  if (levels == 0 || levels == D3DX_DEFAULT || levels == D3DX_FROM_FILE) levels = FullMipChain(w, h);
  IDirect3DTexture9* tex = nullptr;
  hr = device->CreateTexture(w, h, levels, usage, D3DFMT_A8R8G8B8, pool, &tex, nullptr);
  if (FAILED(hr) || !tex) return Refuse("the device cannot make the texture", FAILED(hr) ? hr : E_FAIL);
  levels = tex->GetLevelCount();
  DecodedImage level = std::move(level0);
  for (UINT i = 0; i < levels && SUCCEEDED(hr); ++i) {
    if (i > 0) level = corvane::d3dx9::HalveImage(level);
    hr = corvane::d3d9::FillTextureLevel(tex, i, level.rgba.data());
  }
  if (FAILED(hr)) {
    tex->Release();
    return Refuse("the device cannot fill the texture", hr);
  }
  *texture = tex;
  return D3D_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileA(IDirect3DDevice9* device, const char* srcfile,
                                          IDirect3DTexture9** texture) {
  return D3DXCreateTextureFromFileExA(device, srcfile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                      D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                      nullptr, texture);
}
