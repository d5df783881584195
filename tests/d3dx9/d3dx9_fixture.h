// A headless window and device for the D3DX tests, a back-buffer read-back,
// and small picture files written by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "internal/d3d9_device.h"
#include "support/test_device.h"

class D3DXDeviceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    TestDevice made;
    ASSERT_TRUE(CreateTestDevice("d3dx test window", 800, 600, made));
    d3d = made.d3d;
    device = made.device;
  }
  static void TearDownTestSuite() {
    TestDevice made{d3d, device};
    ReleaseTestDevice(made);
    d3d = nullptr;
    device = nullptr;
  }

  void BeginFrame(D3DCOLOR clear) {
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->BeginScene();
    device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0);
  }
  void EndFrame() {
    device->EndScene();
    IDirect3DSurface9* backBuffer = NULL;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    ASSERT_NE(backBuffer, nullptr);
    ASSERT_TRUE(corvane::d3d9::ReadSurfacePixels(backBuffer, &pixels, &width, &height));
    backBuffer->Release();
    device->Present(NULL, NULL, NULL, NULL);
  }
  // The back-buffer pixel as 0xRRGGBB.
  DWORD Rgb(int x, int y) const {
    const uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
    return DWORD(p[0]) << 16 | DWORD(p[1]) << 8 | p[2];
  }

  // A managed A8R8G8B8 texture, one level, texels given as 0xAARRGGBB rows.
  static IDirect3DTexture9* MakeTexture(UINT w, UINT h, const std::vector<DWORD>& texels) {
    IDirect3DTexture9* texture = NULL;
    D3DXCreateTexture(device, w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
    if (!texture) return NULL;
    D3DLOCKED_RECT locked;
    texture->LockRect(0, &locked, NULL, 0);
    for (UINT y = 0; y < h; ++y)
      std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &texels[y * w], w * 4);
    texture->UnlockRect(0);
    return texture;
  }
  // Texels of one level as 0xAARRGGBB, row by row.
  static std::vector<DWORD> ReadTexels(IDirect3DTexture9* texture, UINT level = 0) {
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(level, &desc);
    D3DLOCKED_RECT locked;
    std::vector<DWORD> out;
    if (FAILED(texture->LockRect(level, &locked, NULL, D3DLOCK_READONLY))) return out;
    for (UINT y = 0; y < desc.Height; ++y) {
      const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
      out.insert(out.end(), row, row + desc.Width);
    }
    texture->UnlockRect(level);
    return out;
  }

  static inline IDirect3D9* d3d = nullptr;
  static inline IDirect3DDevice9* device = nullptr;
  std::vector<uint8_t> pixels;
  int width = 0, height = 0;
};

// A scratch folder under the system temp directory, removed afterwards.
struct ScratchDir {
  // One folder per process: suites run in parallel, and so may other checkouts.
  explicit ScratchDir(const char* name)
      : path(std::filesystem::temp_directory_path() / (name + std::string("-") + std::to_string(getpid()))) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~ScratchDir() { std::filesystem::remove_all(path); }
  std::string File(const std::string& name) const { return (path / name).string(); }
  std::filesystem::path path;
};

inline void WriteBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// An uncompressed bottom-up BMP of 0xAARRGGBB texels at 8 (palette built from
// the texels), 24 or 32 bits a pixel.
std::vector<uint8_t> MakeBmp(int w, int h, const std::vector<DWORD>& texels, int bpp);
