// Start-up: the window, the Direct3D device and its standing states, the
// sound system with its 3D listener, the off-screen surfaces, every asset,
// and the first values of the global state.
#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dsound.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app_state.h"
#include "app/asset_catalogue.h"
#include "app/automation_hooks.h"
#include "app/startup.h"
#include "frontend/best_scores.h"
#include "frontend/fade.h"
#include "frontend/mode_select.h"
#include "frontend/title.h"
#include "game/world_state.h"
#include "media/render_values.h"

namespace {

const char WINDOW_CLASS_NAME[] = "Generic Game SDK Window";
const int ICON_RESOURCE = 101;
const int CLIENT_WIDTH = 800;
const int CLIENT_HEIGHT = 600;

void FillPresentParams(D3DPRESENT_PARAMETERS& params) {
  D3DDISPLAYMODE mode;
  std::memset(&mode, 0, sizeof mode);
  Gfx.d3d->GetAdapterDisplayMode(Gfx.adapter, &mode);
  std::memset(&params, 0, sizeof params);
  params.BackBufferWidth = CLIENT_WIDTH;
  params.BackBufferHeight = CLIENT_HEIGHT;
  params.BackBufferFormat = mode.Format;
  params.BackBufferCount = 0;
  params.MultiSampleType = D3DMULTISAMPLE_NONE;
  params.MultiSampleQuality = 0;
  params.SwapEffect = D3DSWAPEFFECT_FLIP;
  params.hDeviceWindow = NULL;
  params.Windowed = TRUE;
  params.EnableAutoDepthStencil = TRUE;
  params.AutoDepthStencilFormat = D3DFMT_D16;
  params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  params.FullScreen_RefreshRateInHz = 0;
  params.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
}

bool CreateDevice() {
  static const struct {
    D3DDEVTYPE type;
    DWORD behaviour;
  } attempts[] = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                  {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                  {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
  for (const auto& attempt : attempts) {
    if (SUCCEEDED(Gfx.d3d->CreateDevice(Gfx.adapter, attempt.type, mainWindow, attempt.behaviour,
                                         &Gfx.presentParams, &Gfx.device)))
      return true;
  }
  Gfx.device = NULL;
  return false;
}

void SetStandingStates() {
  IDirect3DDevice9* device = Gfx.device;
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  device->SetFVF(QUAD_FVF);
}

void SetUpLight() {
  D3DLIGHT9 light;
  std::memset(&light, 0, sizeof light);
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse.r = 1.0f;
  light.Diffuse.g = 1.0f;
  light.Diffuse.b = 1.0f;
  light.Diffuse.a = 0.0f;
  light.Direction = D3DXVECTOR3(0.0f, -1.0f, 1.0f);
  Gfx.device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
  Gfx.device->SetLight(0, &light);
  Gfx.device->LightEnable(0, TRUE);
}

// Without a sound device the game runs silent: every later step that needs
// the DirectSound object is skipped instead of called through NULL.
void SetUpSoundSystem() {
  if (FAILED(DirectSoundCreate8(NULL, &Audio.directSound, NULL)) || Audio.directSound == NULL) {
    Audio.directSound = NULL;
    std::fprintf(stderr, "corvane: no sound device could be opened; sound is off\n");
    return;
  }
  Audio.directSound->SetCooperativeLevel(mainWindow, DSSCL_PRIORITY);

  DSBUFFERDESC desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof(DSBUFFERDESC);
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME;
  desc.dwBufferBytes = 0;
  desc.lpwfxFormat = NULL;
  if (FAILED(Audio.directSound->CreateSoundBuffer(&desc, &Audio.primary, NULL)) || Audio.primary == NULL) {
    Audio.primary = NULL;
    return;
  }

  WAVEFORMATEX format;
  std::memset(&format, 0, sizeof format);
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
  format.wBitsPerSample = 16;
  format.cbSize = 0;
  Audio.primary->SetFormat(&format);

  if (FAILED(Audio.primary->QueryInterface(IID_IDirectSound3DListener, (void**)&Audio.listener)) ||
      Audio.listener == NULL) {
    Audio.listener = NULL;
    return;
  }
  Audio.listener->SetDistanceFactor(5.0f, DS3D_IMMEDIATE);
  Audio.listener->SetRolloffFactor(1.0f, DS3D_IMMEDIATE);
}

void CreateSurfaces() {
  Gfx.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &Gfx.backBuffer);
  Gfx.device->GetDepthStencilSurface(&Gfx.backDepth);
  if (SUCCEEDED(D3DXCreateTexture(Gfx.device, CLIENT_WIDTH, CLIENT_HEIGHT, 1, D3DUSAGE_RENDERTARGET,
                                  D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &Gfx.sceneTexture)) &&
      Gfx.sceneTexture != NULL)
    Gfx.sceneTexture->GetSurfaceLevel(0, &Gfx.sceneSurface);
  Gfx.device->CreateDepthStencilSurface(CLIENT_WIDTH, CLIENT_HEIGHT, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0,
                                        FALSE, &Gfx.sceneDepth, NULL);
}

void SetUpFog() {
  Gfx.device->SetRenderState(D3DRS_FOGENABLE, TRUE);
  Gfx.device->SetRenderState(D3DRS_FOGCOLOR, 0xFF000000);
  Gfx.device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
  Gfx.device->SetRenderState(D3DRS_FOGSTART, FloatBits(200.0f));
  Gfx.device->SetRenderState(D3DRS_FOGEND, FloatBits(300.0f));
}

// The star field draws from rand() in a fixed order; rand() is never seeded,
// so it is the same field on every run.
void ScatterStars() {
  for (int i = 0; i < STAR_COUNT; ++i) {
    stars[i].pos.z = (float)(rand() % 200 - 60);
    stars[i].pos.y = (float)(rand() % 260 - 130);
    stars[i].pos.x = (float)(rand() % 260 - 130);
    stars[i].color.b = (float)(rand() % 255);
    stars[i].color.g = (float)(rand() % 255);
    stars[i].color.r = (float)(rand() % 255);
  }
}

void SetFirstValues() {
  for (int i = 0; i < PARTICLE_COUNT; ++i) {
    Particle.scale[i] = 0.5f;
    Particle.active[i] = false;
    Particle.spin[i] = 0.0f;
  }
  for (int i = 0; i < 4; ++i) {
    selectScale[i] = 0.6f;
    selectAlpha[i] = 100;
  }
  selectCursor = 0;
  selectZoom = 0.0f;
  Player.radius = 1.0f;
  Player.glowAlpha = 255;
  fadeAlpha = 0;
  titlePulseScale = 1.0f;
  titlePulseAlpha = 255;
  ScatterStars();
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      // Keys are read by polling only.
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
  WNDCLASSA windowClass;
  std::memset(&windowClass, 0, sizeof windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ICON_RESOURCE));
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
  windowClass.lpszMenuName = NULL;
  windowClass.lpszClassName = WINDOW_CLASS_NAME;
  RegisterClassA(&windowClass);

  HWND window = CreateWindowExA(0, WINDOW_CLASS_NAME, "Direct X", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CLIENT_WIDTH, CLIENT_HEIGHT, NULL, NULL, instance, NULL);
  if (window == NULL) return NULL;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  SetFocus(window);

  RECT frame = {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(window, NULL, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
  SetWindowTextA(window, "Corvane");
  return window;
}

bool StartUp(HINSTANCE instance, int showCommand) {
  mainWindow = CreateMainWindow(instance, showCommand);
  if (mainWindow == NULL) return false;

  Gfx.d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (Gfx.d3d == NULL) {
    MessageBoxA(NULL, "Direct3D の作成に失敗しました。", "ERROR", MB_ICONHAND);
    return false;
  }
  Gfx.adapter = D3DADAPTER_DEFAULT;
  FillPresentParams(Gfx.presentParams);
  if (!CreateDevice()) {
    MessageBoxA(NULL, "DirectX9が初期化できません。\n未対応のパソコンと思われます。", "ERROR", MB_ICONHAND);
    Gfx.d3d->Release();
    Gfx.d3d = NULL;
    return false;
  }

  SetStandingStates();
  timeBeginPeriod(1);
  SetUpLight();
  SetUpSoundSystem();
  CreateSurfaces();
  SetUpFog();
  LoadCatalogueMeshes();
  LoadCatalogueTextures();
  SetFirstValues();
  LoadCatalogueSounds();
  RegisterAutomationHooks();
  LoadBestScores();
  return true;
}
