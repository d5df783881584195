// Direct3D 9 draw throughput on the GL back end: a game-like frame of small
// textured fans (per-quad world matrix and blend/depth-write toggles, as the
// effect layers do) into the scene texture, composed onto the back buffer.
#include <benchmark/benchmark.h>
#include <d3d9.h>

#include <cstdlib>
#include <vector>

#include "internal/d3d9_device.h"

namespace {

struct QuadVertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};

LRESULT CALLBACK BenchWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct BenchDevice {
  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  IDirect3DTexture9 *scene = nullptr, *sprite = nullptr;
  IDirect3DSurface9 *sceneSurface = nullptr, *sceneDepth = nullptr, *back = nullptr, *backDepth = nullptr;

  bool Create() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = BenchWindowProc;
    wc.lpszClassName = "d3d9 bench window";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                  nullptr, nullptr);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 800, pp.BackBufferHeight = 600, pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.SwapEffect = D3DSWAPEFFECT_FLIP, pp.Windowed = TRUE, pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16, pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (!window || !d3d ||
        FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device)))
      return false;
    device->CreateTexture(800, 600, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &scene, nullptr);
    scene->GetSurfaceLevel(0, &sceneSurface);
    device->CreateDepthStencilSurface(800, 600, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0, FALSE, &sceneDepth, nullptr);
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    device->GetDepthStencilSurface(&backDepth);
    device->CreateTexture(64, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &sprite, nullptr);
    D3DLOCKED_RECT locked;
    sprite->LockRect(0, &locked, nullptr, 0);
    for (int i = 0; i < 64 * 64; ++i) static_cast<DWORD*>(locked.pBits)[i] = 0x80FFFFFF;
    sprite->UnlockRect(0);
    // The game's standing states.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    device->SetRenderState(D3DRS_FOGENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    D3DMATRIX projection{};
    projection._11 = 1.299f, projection._22 = 1.732f, projection._33 = 1.001f, projection._34 = 1.f;
    projection._43 = -1.001f;
    device->SetTransform(D3DTS_PROJECTION, &projection);
    return true;
  }

  ~BenchDevice() {
    for (IUnknown* o : {(IUnknown*)sprite, (IUnknown*)back, (IUnknown*)backDepth, (IUnknown*)sceneSurface,
                        (IUnknown*)sceneDepth, (IUnknown*)scene, (IUnknown*)device, (IUnknown*)d3d})
      if (o) o->Release();
  }

  // One frame: `quads` additive quads with their own world matrix into the
  // scene texture, then the texture drawn full-screen on the back buffer.
  void Frame(int quads, bool present) {
    // A particle-sized quad: about 35 pixels across at these depths.
    static const QuadVertex quad[4] = {{-1, 1, 0, 0xFFC8C8FF, 1, 0}, {1, 1, 0, 0xFFC8C8FF, 1, 1},
                                       {1, -1, 0, 0xFFC8C8FF, 0, 1}, {-1, -1, 0, 0xFFC8C8FF, 0, 0}};
    device->BeginScene();
    device->SetRenderTarget(0, sceneSurface);
    device->SetDepthStencilSurface(sceneDepth);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.f, 0);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    device->SetTexture(0, sprite);
    for (int i = 0; i < quads; ++i) {
      D3DMATRIX world{};
      world._11 = world._22 = world._33 = world._44 = 1.f;
      world._41 = (float)(i % 40) - 20.f, world._42 = (float)(i / 40) - 7.f, world._43 = 30.f + (float)(i % 7);
      device->SetTransform(D3DTS_WORLD, &world);
      device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
      device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
      device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(QuadVertex));
      device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
      device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    }
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderTarget(0, back);
    device->SetDepthStencilSurface(backDepth);
    // Composite: a sprite-style draw saved and restored around it.
    corvane::d3d9::DeviceState saved;
    corvane::d3d9::CaptureDeviceState(device, &saved);
    D3DMATRIX ortho{};
    ortho._11 = 2.f / 800, ortho._22 = -2.f / 600, ortho._33 = 1.f, ortho._41 = -1.f - 1.f / 800;
    ortho._42 = 1.f + 1.f / 600, ortho._44 = 1.f;
    D3DMATRIX identity{};
    identity._11 = identity._22 = identity._33 = identity._44 = 1.f;
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &ortho);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetTexture(0, scene);
    const QuadVertex screen[4] = {{0, 0, 0, 0xFFFFFFFF, 0, 0}, {800, 0, 0, 0xFFFFFFFF, 1, 0},
                                  {800, 600, 0, 0xFFFFFFFF, 1, 1}, {0, 600, 0, 0xFFFFFFFF, 0, 1}};
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, screen, sizeof(QuadVertex));
    corvane::d3d9::ApplyDeviceState(device, saved);
    device->EndScene();
    if (present) {
      device->Present(nullptr, nullptr, nullptr, nullptr);
    } else {  // wait for the GPU: read one pixel
      std::vector<uint8_t> rgba;
      int w, h;
      corvane::d3d9::ReadSurfacePixels(back, &rgba, &w, &h);
    }
  }
};

void BM_GameLikeFrame(benchmark::State& state) {
  BenchDevice bench;
  if (!bench.Create()) {
    state.SkipWithError("no Direct3D device (OpenGL 3.3 context)");
    return;
  }
  const int quads = (int)state.range(0);
  for (auto _ : state) bench.Frame(quads, false);
  state.counters["draws/s"] = benchmark::Counter((double)(quads + 1) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GameLikeFrame)->Arg(0)->Arg(600)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
