#include "app/asset_catalogue.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <d3dx9.h>
#include <mmsystem.h>

#include "app/app_state.h"
#include "game/world_state.h"
#include "media/sound_loader.h"
#include "media/sprite_draw.h"

#include "corvane_automation.h"
#ifndef _WIN32
#include "corvane_load_error.h"
#endif

IDirect3DTexture9* tex123 = NULL;
IDirect3DTexture9* tex321 = NULL;
IDirect3DTexture9* texAsist = NULL;
IDirect3DTexture9* texGhost = NULL;
IDirect3DTexture9* texSmoke2 = NULL;
IDirect3DTexture9* texBLight = NULL;
IDirect3DTexture9* texEffect2 = NULL;
IDirect3DTexture9* texEne4 = NULL;
IDirect3DTexture9* texMoji2 = NULL;
IDirect3DTexture9* texDam2 = NULL;
IDirect3DTexture9* texStar = NULL;
IDirect3DTexture9* texEffect1 = NULL;
IDirect3DTexture9* texEne2 = NULL;
IDirect3DTexture9* texS = NULL;
IDirect3DTexture9* texKaze3 = NULL;
IDirect3DTexture9* texFrame = NULL;
IDirect3DTexture9* texOph = NULL;
IDirect3DTexture9* texOpmoji = NULL;
IDirect3DTexture9* texSelect = NULL;
IDirect3DTexture9* texSStar = NULL;
IDirect3DTexture9* texBaku1 = NULL;
IDirect3DTexture9* texBack1 = NULL;
IDirect3DTexture9* texBack2 = NULL;
IDirect3DTexture9* texBack3 = NULL;
IDirect3DTexture9* texBack4 = NULL;
IDirect3DTexture9* texBack6 = NULL;
IDirect3DTexture9* texEarth = NULL;
IDirect3DTexture9* texReturn = NULL;
IDirect3DTexture9* texTrophy = NULL;
IDirect3DTexture9* texVec = NULL;
IDirect3DTexture9* texLock = NULL;
IDirect3DTexture9* texExplosion = NULL;

MeshResource meshGitor;
MeshResource meshStone;
MeshResource meshItem;
MeshResource meshDust;

IDirectSoundBuffer8* sounds[SOUND_SLOT_COUNT];
IDirectSoundBuffer8* passSound = NULL;
IDirectSound3DBuffer* passSound3D = NULL;

namespace {

struct TextureSlot {
  IDirect3DTexture9** slot;
  const char* name;
};

#define TEXTURE_SLOT(name) {&name, #name}

// The slots of TEXTURE_TABLE's rows, row by row.
constexpr TextureSlot TEXTURE_SLOTS[] = {
    TEXTURE_SLOT(tex123),     TEXTURE_SLOT(tex321),     TEXTURE_SLOT(texAsist),
    TEXTURE_SLOT(texGhost),   TEXTURE_SLOT(texSmoke2),  TEXTURE_SLOT(texBLight),
    TEXTURE_SLOT(texEffect2), TEXTURE_SLOT(texEne4),    TEXTURE_SLOT(texMoji2),
    TEXTURE_SLOT(texDam2),    TEXTURE_SLOT(texStar),    TEXTURE_SLOT(texEffect1),
    TEXTURE_SLOT(texEne2),    TEXTURE_SLOT(texS),       TEXTURE_SLOT(texKaze3),
    TEXTURE_SLOT(texFrame),   TEXTURE_SLOT(texOph),     TEXTURE_SLOT(texOpmoji),
    TEXTURE_SLOT(texSelect),  TEXTURE_SLOT(texSStar),   TEXTURE_SLOT(texBaku1),
    TEXTURE_SLOT(texBack1),   TEXTURE_SLOT(texBack2),   TEXTURE_SLOT(texBack3),
    TEXTURE_SLOT(texBack4),   TEXTURE_SLOT(texBack6),   TEXTURE_SLOT(texEarth),
    TEXTURE_SLOT(texReturn),  TEXTURE_SLOT(texTrophy),  TEXTURE_SLOT(texVec),
    TEXTURE_SLOT(texLock),    TEXTURE_SLOT(texExplosion),
};

constexpr bool SameName(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) ++a, ++b;
  return *a == *b;
}

constexpr bool SlotsFollowTheTable() {
  if (sizeof(TEXTURE_SLOTS) / sizeof(TEXTURE_SLOTS[0]) != TEXTURE_COUNT) return false;
  for (int i = 0; i < TEXTURE_COUNT; ++i)
    if (!SameName(TEXTURE_SLOTS[i].name, TEXTURE_TABLE[i].slotName)) return false;
  return true;
}
static_assert(SlotsFollowTheTable(), "TEXTURE_SLOTS must name TEXTURE_TABLE's slots in its order");

// Shutdown releases the textures in this order, not the load order.
IDirect3DTexture9** const TEXTURE_RELEASE_ORDER[] = {
    &texBLight, &texEffect2, &texSmoke2, &texMoji2, &texDam2,   &texGhost,  &texEne4,
    &texStar,   &texEffect1, &texEne2,   &texS,     &texFrame,  &texOph,    &texOpmoji,
    &texSelect, &texKaze3,   &tex321,    &texSStar, &texBaku1,  &tex123,    &texBack1,
    &texBack2,  &texBack3,   &texBack4,  &texBack6, &texEarth,  &texAsist,  &texReturn,
    &texTrophy, &texVec,     &texLock,   &texExplosion,
};

// The folder an asset name was looked for in, for the message.
std::string SearchedFolder(const char* fileName) {
  const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
  if (folder.is_absolute()) return folder.string();
  std::error_code error;
  const std::filesystem::path base = std::filesystem::current_path(error);
  if (error) return folder.empty() ? std::string(".") : folder.string();
  return (folder.empty() ? base : base / folder).string();
}

void Release(IUnknown* object) {
  if (object != NULL) object->Release();
}

bool FileOpens(const char* fileName) {
  HMMIO file = mmioOpenA((LPSTR)fileName, NULL, MMIO_READ);
  if (file == NULL) return false;
  mmioClose(file, 0);
  return true;
}

// The UTF-8 name first, then the Shift-JIS one; when neither is there the
// loader still fills the slot (with silence) so the game can play it.
void LoadSoundEntry(IDirectSoundBuffer8** slot, const SoundRow& entry, bool positioned) {
  const char* fileName = entry.fileName;
  bool found = FileOpens(fileName);
  if (!found && entry.shiftJisName != NULL && FileOpens(entry.shiftJisName)) {
    fileName = entry.shiftJisName;
    found = true;
  }
  // The loader names a file that is there but cannot be read.
  if (!found && !AssetFileExists(fileName)) {
    ReportAssetFailure("sound", entry.fileName,
                       entry.shiftJisName != NULL ? " (also tried its Shift-JIS name)" : "", "it stays silent");
  }
  *slot = NULL;
  if (positioned) {
    LoadSound3D(slot, fileName);
  } else {
    LoadSound(slot, fileName);
  }
}

}  // namespace

bool AssetFileExists(const char* fileName) {
  return GetFileAttributesA(fileName) != INVALID_FILE_ATTRIBUTES;
}

void ReportAssetFailure(const char* kind, const char* fileName, const char* note, const char* standIn) {
  const DWORD attributes = GetFileAttributesA(fileName);
  const std::string folder = SearchedFolder(fileName);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "corvane: missing %s \"%s\"%s (looked in %s); %s\n", kind, fileName, note,
                 folder.c_str(), standIn);
    return;
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
    std::fprintf(stderr, "corvane: %s \"%s\"%s in %s is %s, not a file; %s\n", kind, fileName, note, folder.c_str(),
                 (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "a folder" : "a device or pipe", standIn);
    return;
  }
  std::string why = "it cannot be read";
#ifndef _WIN32
  if (CorvaneLastLoadError()[0] != '\0') why = CorvaneLastLoadError();
#endif
  if (!why.empty() && why.back() == '.') why.pop_back();
  std::fprintf(stderr, "corvane: damaged %s \"%s\"%s in %s (%s); %s\n", kind, fileName, note, folder.c_str(),
               why.c_str(), standIn);
}

void LoadTexture(IDirect3DTexture9** slot, const char* fileName, UINT width, UINT height,
                 D3DCOLOR colorKey) {
  if (width == 0) width = D3DX_DEFAULT;
  if (height == 0) height = D3DX_DEFAULT;
  *slot = NULL;
  D3DXCreateTextureFromFileExA(Gfx.device, fileName, width, height, 1, 0, D3DFMT_UNKNOWN,
                               D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, colorKey, NULL,
                               NULL, slot);
  if (*slot == NULL) ReportAssetFailure("texture", fileName, "", "a checker pattern stands in");
}

void LoadCatalogueMeshes() {
  LoadMesh(meshGitor, "XFILE/gitor.x");
  D3DXMatrixTranslation(&Player.world, 0.0f, 0.0f, -60.0f);
  Player.flightFrame = Player.world;
  LoadMesh(meshStone, "XFILE/Stone.x");
  LoadMesh(meshItem, "XFILE/Item.x");
  LoadMesh(meshDust, "XFILE/Dust.x");
}

void LoadCatalogueTextures() {
  CreatePlaceholderTexture();
  bool spriteMade = false;
  for (int i = 0; i < TEXTURE_COUNT; ++i) {
    const TextureRow& row = TEXTURE_TABLE[i];
    LoadTexture(TEXTURE_SLOTS[i].slot, row.fileName, row.width, row.height, row.colorKey);
    if (!spriteMade) {
      D3DXCreateSprite(Gfx.device, &Gfx.sprite);
      if (Gfx.sprite != NULL) Gfx.sprite->OnResetDevice();
      spriteMade = true;
    }
  }
}

void LoadCatalogueSounds() {
  for (const SoundRow& row : SOUND_TABLE) LoadSoundEntry(&sounds[row.slot], row, false);
  LoadSoundEntry(&passSound, PASS_SOUND_ROW, true);
  passSound3D = NULL;
  if (passSound != NULL) {
    passSound->QueryInterface(IID_IDirectSound3DBuffer, (void**)&passSound3D);
  }
  for (int i = 0; i < SOUND_SLOT_COUNT; ++i) {
    if (sounds[i] != NULL) CorvaneNameSoundObject(sounds[i], SoundRowOf(i).slotName);
  }
  if (passSound != NULL) CorvaneNameSoundObject(passSound, PASS_SOUND_ROW.slotName);
  if (passSound3D != NULL) CorvaneNameSoundObject(passSound3D, "passSound3D");
}

void ReleaseCatalogueMeshes() {
  ReleaseMesh(meshGitor);
  ReleaseMesh(meshDust);
  ReleaseMesh(meshStone);
  ReleaseMesh(meshItem);
}

void ReleaseCatalogueTextures() {
  for (IDirect3DTexture9** slot : TEXTURE_RELEASE_ORDER) {
    Release(*slot);
    *slot = NULL;
  }
  Release(Gfx.sprite);
  Gfx.sprite = NULL;
  ReleasePlaceholderTexture();
}

void ReleaseCatalogueSounds() {
  for (IDirectSoundBuffer8*& sound : sounds) {
    Release(sound);
    sound = NULL;
  }
  Release(passSound);
  passSound = NULL;
  Release(passSound3D);
  passSound3D = NULL;
}
