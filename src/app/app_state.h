// Application-wide state: the Direct3D and DirectSound objects, the current
// scene and the key latches shared by every screen.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dsound.h>

constexpr int SCENE_TITLE = 0;
constexpr int SCENE_MODE_SELECT = 1;
constexpr int SCENE_GAME = 2;

constexpr DWORD FRAME_INTERVAL_MS = 16;

struct GfxRecord {
  IDirect3D9* d3d;
  UINT adapter;
  IDirect3DDevice9* device;
  D3DPRESENT_PARAMETERS presentParams;
  IDirect3DSurface9* backBuffer;
  IDirect3DSurface9* backDepth;
  IDirect3DTexture9* sceneTexture;
  IDirect3DSurface9* sceneSurface;
  IDirect3DSurface9* sceneDepth;
  ID3DXSprite* sprite;
};

struct AudioRecord {
  IDirectSound8* directSound;
  IDirectSoundBuffer* primary;
  IDirectSound3DListener* listener;
};

extern GfxRecord Gfx;
extern AudioRecord Audio;
extern HWND mainWindow;

extern int scene;
extern DWORD lastFrameTime;
extern bool enterKeyLatch;
extern bool arrowKeyLatch;
