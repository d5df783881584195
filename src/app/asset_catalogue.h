// Every texture, mesh and sound of the game, each in its fixed slot, loaded
// once at start-up and released once at shutdown.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <dsound.h>

#include "app/asset_table.h"
#include "media/mesh_resource.h"


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


extern IDirectSoundBuffer8* sounds[SOUND_SLOT_COUNT];
extern IDirectSoundBuffer8* passSound;
extern IDirectSound3DBuffer* passSound3D;

// LoadTexture(slot, file, width, height, colour key): see asset_catalogue.cpp.
void LoadTexture(IDirect3DTexture9** slot, const char* fileName, UINT width, UINT height,
                 D3DCOLOR colorKey);

// Names a file that could not be loaded, once: missing, a folder, or damaged
// (with the loader's reason where the platform gives one), the folder it was
// looked for in, and what stands in for it.
void ReportAssetFailure(const char* kind, const char* fileName, const char* note, const char* standIn);
bool AssetFileExists(const char* fileName);

// Loaded by StartUp, released by ShutDown.
void LoadCatalogueMeshes();      // meshGitor, the two player matrices, then the rest
void LoadCatalogueTextures();    // the 32 textures in table order, with the sprite object
void LoadCatalogueSounds();      // the 32 slots in load order, then passSound(3D)
void ReleaseCatalogueMeshes();
void ReleaseCatalogueTextures(); // in shutdown order, then Gfx.sprite
void ReleaseCatalogueSounds();
