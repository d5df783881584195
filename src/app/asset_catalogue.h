// Every texture, mesh and sound of the game, each in its fixed slot, loaded
// once at start-up and released once at shutdown.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <dsound.h>

#include "media/mesh_resource.h"

constexpr D3DCOLOR KEY_NONE = 0;
constexpr D3DCOLOR KEY_MAGENTA = 0xFFFF00FF;
constexpr D3DCOLOR KEY_BLACK = 0xFF000000;

extern IDirect3DTexture9* tex123;
extern IDirect3DTexture9* tex321;
extern IDirect3DTexture9* texAsist;
extern IDirect3DTexture9* texGhost;
extern IDirect3DTexture9* texSmoke2;
extern IDirect3DTexture9* texBLight;
extern IDirect3DTexture9* texEffect2;
extern IDirect3DTexture9* texEne4;
extern IDirect3DTexture9* texMoji2;
extern IDirect3DTexture9* texDam2;
extern IDirect3DTexture9* texStar;
extern IDirect3DTexture9* texEffect1;
extern IDirect3DTexture9* texEne2;
extern IDirect3DTexture9* texS;
extern IDirect3DTexture9* texKaze3;
extern IDirect3DTexture9* texFrame;
extern IDirect3DTexture9* texOph;
extern IDirect3DTexture9* texOpmoji;
extern IDirect3DTexture9* texSelect;
extern IDirect3DTexture9* texSStar;
extern IDirect3DTexture9* texBaku1;
extern IDirect3DTexture9* texBack1;
extern IDirect3DTexture9* texBack2;
extern IDirect3DTexture9* texBack3;
extern IDirect3DTexture9* texBack4;
extern IDirect3DTexture9* texBack6;
extern IDirect3DTexture9* texEarth;
extern IDirect3DTexture9* texReturn;
extern IDirect3DTexture9* texTrophy;
extern IDirect3DTexture9* texVec;
extern IDirect3DTexture9* texLock;
extern IDirect3DTexture9* texExplosion;

extern MeshResource meshGitor;
extern MeshResource meshStone;
extern MeshResource meshItem;
extern MeshResource meshDust;

enum SoundSlot {
  SND_TRAMP = 0,
  SND_SE_SOD06,
  SND_LOOP_60,
  SND_LOOP_56,
  SND_BE03,
  SND_BE05,
  SND_BE08,
  SND_LOOP_47,
  SND_BE08_B,
  SND_LOOP_46,
  SND_FLYING,
  SND_FORWARD_DASH,
  SND_WIND_CUTTING,
  SND_GRAZE,
  SND_ITEM_GET,
  SND_ROCK_VANISH,
  SND_GHOST,
  SND_LIGHT,
  SND_SPEED_UP,
  SND_SCORE_UP,
  SND_OWN_EXPLOSION,
  SND_ROCK_PASSING,
  SND_COUNTDOWN_3,
  SND_SPEED_CHANGE,
  SND_LIGHT_B,
  SND_DASH,
  SND_ESC,
  SND_CAUTION,
  SND_SUCCESS,
  SND_ARROW_ERASE,
  SND_ARROW_SHOW,
  SND_MISS,
  SOUND_SLOT_COUNT
};

extern IDirectSoundBuffer8* sounds[SOUND_SLOT_COUNT];
extern IDirectSoundBuffer8* passSound;
extern IDirectSound3DBuffer* passSound3D;

// LoadTexture(slot, file, width, height, colour key): see asset_catalogue.cpp.
void LoadTexture(IDirect3DTexture9** slot, const char* fileName, UINT width, UINT height,
                 D3DCOLOR colorKey);

// Names a file that could not be loaded, with the folder it was looked for in.
void ReportMissingAsset(const char* kind, const char* fileName, const char* note);

// Start-up steps 15, 16 and 18, and the releases of shutdown steps 4, 6 and 7.
void LoadCatalogueMeshes();      // meshGitor, the two player matrices, then the rest
void LoadCatalogueTextures();    // the 32 textures in table order, with the sprite object
void LoadCatalogueSounds();      // the 32 slots in load order, then passSound(3D)
void ReleaseCatalogueMeshes();
void ReleaseCatalogueTextures(); // in shutdown order, then Gfx.sprite
void ReleaseCatalogueSounds();
