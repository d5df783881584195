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

#ifndef _WIN32
#include "corvane_automation.h"
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

struct TextureEntry {
  IDirect3DTexture9** slot;
  const char* fileName;
  UINT width;
  UINT height;
  D3DCOLOR colorKey;
};

const TextureEntry TEXTURES[] = {
    {&tex123, "bmp/123.bmp", 384, 64, KEY_MAGENTA},
    {&tex321, "bmp/321.bmp", 384, 128, KEY_NONE},
    {&texAsist, "bmp/asist.bmp", 256, 256, KEY_BLACK},
    {&texGhost, "bmp/Ghost.bmp", 80, 60, KEY_NONE},
    {&texSmoke2, "bmp/Smoke2.bmp", 256, 256, KEY_NONE},
    {&texBLight, "bmp/BLight.bmp", 16, 16, KEY_NONE},
    {&texEffect2, "bmp/effect2.bmp", 64, 64, KEY_NONE},
    {&texEne4, "bmp/ene4.bmp", 220, 80, KEY_MAGENTA},
    {&texMoji2, "bmp/moji2.bmp", 512, 480, KEY_NONE},
    {&texDam2, "bmp/dam2.bmp", 1, 1, KEY_NONE},
    {&texStar, "bmp/Star.bmp", 64, 64, KEY_NONE},
    {&texEffect1, "bmp/effect1.bmp", 64, 64, KEY_NONE},
    {&texEne2, "bmp/ene2.bmp", 200, 50, KEY_NONE},
    {&texS, "bmp/s.bmp", 768, 128, KEY_NONE},
    {&texKaze3, "bmp/kaze3.bmp", 64, 64, KEY_NONE},
    {&texFrame, "bmp/frame.bmp", 220, 80, KEY_MAGENTA},
    {&texOph, "bmp/oph.bmp", 800, 600, KEY_NONE},
    {&texOpmoji, "bmp/opmoji.bmp", 512, 494, KEY_NONE},
    {&texSelect, "bmp/select.bmp", 512, 128, KEY_MAGENTA},
    {&texSStar, "bmp/SStar.bmp", 128, 32, KEY_NONE},
    {&texBaku1, "bmp/baku1.bmp", 1600, 100, KEY_NONE},
    {&texBack1, "bmp/back1.bmp", 235, 235, KEY_NONE},
    {&texBack2, "bmp/back2.bmp", 256, 256, KEY_NONE},
    {&texBack3, "bmp/back3.bmp", 436, 235, KEY_NONE},
    {&texBack4, "bmp/back4.bmp", 447, 275, KEY_NONE},
    {&texBack6, "bmp/back6.bmp", 374, 241, KEY_NONE},
    {&texEarth, "bmp/earth.bmp", 235, 235, KEY_NONE},
    {&texReturn, "bmp/return.bmp", 256, 64, KEY_BLACK},
    {&texTrophy, "bmp/trophy.bmp", 100, 100, KEY_BLACK},
    {&texVec, "bmp/vec.bmp", 320, 64, KEY_BLACK},
    {&texLock, "bmp/lock.bmp", 64, 64, KEY_NONE},
    {&texExplosion, "bmp/animation_explosion005.png", 960, 960, KEY_NONE},
};

// Shutdown releases the textures in this order, not the load order.
IDirect3DTexture9** const TEXTURE_RELEASE_ORDER[] = {
    &texBLight, &texEffect2, &texSmoke2, &texMoji2, &texDam2,   &texGhost,  &texEne4,
    &texStar,   &texEffect1, &texEne2,   &texS,     &texFrame,  &texOph,    &texOpmoji,
    &texSelect, &texKaze3,   &tex321,    &texSStar, &texBaku1,  &tex123,    &texBack1,
    &texBack2,  &texBack3,   &texBack4,  &texBack6, &texEarth,  &texAsist,  &texReturn,
    &texTrophy, &texVec,     &texLock,   &texExplosion,
};

// A sound file name, and the same name in code page 932 bytes: Windows
// archives unpacked elsewhere keep the Japanese names in that form.
struct SoundEntry {
  int slot;
  const char* fileName;
  const char* shiftJisName;
};

// In load order: the music pool is not loaded in slot order.
const SoundEntry SOUNDS[] = {
    {SND_TRAMP, "wav/tramp.wav", NULL},
    {SND_SE_SOD06, "wav/se_sod06.wav", NULL},
    {SND_LOOP_60, "wav/loop_60.wav", NULL},
    {SND_LOOP_56, "wav/loop_56.wav", NULL},
    {SND_LOOP_47, "wav/loop_47.wav", NULL},
    {SND_BE03, "wav/be03.wav", NULL},
    {SND_BE05, "wav/be05.wav", NULL},
    {SND_BE08, "wav/be08.wav", NULL},
    {SND_BE08_B, "wav/be08.wav", NULL},
    {SND_LOOP_46, "wav/loop_46.wav", NULL},
    {SND_FLYING, "wav/飛行中.wav", "wav/\x94\xF2\x8D\x73\x92\x86.wav"},
    {SND_FORWARD_DASH, "wav/前進ダッシュ.wav", "wav/\x91\x4F\x90\x69\x83\x5F\x83\x62\x83\x56\x83\x85.wav"},
    {SND_WIND_CUTTING, "wav/風きり中.wav", "wav/\x95\x97\x82\xAB\x82\xE8\x92\x86.wav"},
    {SND_GRAZE, "wav/カスリ.wav", "wav/\x83\x4A\x83\x58\x83\x8A.wav"},
    {SND_ITEM_GET, "wav/アイテム取得.wav", "wav/\x83\x41\x83\x43\x83\x65\x83\x80\x8E\xE6\x93\xBE.wav"},
    {SND_ROCK_VANISH, "wav/岩きえ.wav", "wav/\x8A\xE2\x82\xAB\x82\xA6.wav"},
    {SND_GHOST, "wav/ゴースト.wav", "wav/\x83\x53\x81\x5B\x83\x58\x83\x67.wav"},
    {SND_LIGHT, "wav/光.wav", "wav/\x8C\xF5.wav"},
    {SND_SPEED_UP, "wav/スピードアップ.wav", "wav/\x83\x58\x83\x73\x81\x5B\x83\x68\x83\x41\x83\x62\x83\x76.wav"},
    {SND_SCORE_UP, "wav/スコアアップ.wav", "wav/\x83\x58\x83\x52\x83\x41\x83\x41\x83\x62\x83\x76.wav"},
    {SND_OWN_EXPLOSION, "wav/自機爆発.wav", "wav/\x8E\xA9\x8B\x40\x94\x9A\x94\xAD.wav"},
    {SND_ROCK_PASSING, "wav/岩通り過ぎ.wav", "wav/\x8A\xE2\x92\xCA\x82\xE8\x89\xDF\x82\xAC.wav"},
    {SND_COUNTDOWN_3, "wav/カウントダウン3.wav", "wav/\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93\x33.wav"},
    {SND_SPEED_CHANGE, "wav/スピード変化.wav", "wav/\x83\x58\x83\x73\x81\x5B\x83\x68\x95\xCF\x89\xBB.wav"},
    {SND_LIGHT_B, "wav/光.wav", "wav/\x8C\xF5.wav"},
    {SND_DASH, "wav/ダッシュ.wav", "wav/\x83\x5F\x83\x62\x83\x56\x83\x85.wav"},
    {SND_ESC, "wav/esc.wav", NULL},
    {SND_CAUTION, "wav/caution.wav", NULL},
    {SND_SUCCESS, "wav/成功.wav", "wav/\x90\xAC\x8C\xF7.wav"},
    {SND_ARROW_ERASE, "wav/矢印消去.wav", "wav/\x96\xEE\x88\xF3\x8F\xC1\x8B\x8E.wav"},
    {SND_ARROW_SHOW, "wav/矢印表示.wav", "wav/\x96\xEE\x88\xF3\x95\x5C\x8E\xA6.wav"},
    {SND_MISS, "wav/ハズレ.wav", "wav/\x83\x6E\x83\x59\x83\x8C.wav"},
};

const SoundEntry PASS_SOUND = {-1, "wav/通り過ぎ.wav", "wav/\x92\xCA\x82\xE8\x89\xDF\x82\xAC.wav"};

const char* const SOUND_SLOT_NAMES[SOUND_SLOT_COUNT] = {
    "SND_TRAMP",         "SND_SE_SOD06",     "SND_LOOP_60",      "SND_LOOP_56",
    "SND_BE03",          "SND_BE05",         "SND_BE08",         "SND_LOOP_47",
    "SND_BE08_B",        "SND_LOOP_46",      "SND_FLYING",       "SND_FORWARD_DASH",
    "SND_WIND_CUTTING",  "SND_GRAZE",        "SND_ITEM_GET",     "SND_ROCK_VANISH",
    "SND_GHOST",         "SND_LIGHT",        "SND_SPEED_UP",     "SND_SCORE_UP",
    "SND_OWN_EXPLOSION", "SND_ROCK_PASSING", "SND_COUNTDOWN_3",  "SND_SPEED_CHANGE",
    "SND_LIGHT_B",       "SND_DASH",         "SND_ESC",          "SND_CAUTION",
    "SND_SUCCESS",       "SND_ARROW_ERASE",  "SND_ARROW_SHOW",   "SND_MISS",
};

// The folder a relative asset name was looked for in, for the message.
std::string SearchedFolder(const char* fileName) {
  std::string relative(fileName);
  std::string::size_type slash = relative.find_last_of('/');
  relative = slash == std::string::npos ? std::string() : relative.substr(0, slash);
  std::error_code error;
  std::filesystem::path folder = std::filesystem::current_path(error);
  if (error) return relative.empty() ? std::string(".") : relative;
  std::string base = folder.string();
  return relative.empty() ? base : base + "/" + relative;
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
void LoadSoundEntry(IDirectSoundBuffer8** slot, const SoundEntry& entry, bool positioned) {
  const char* fileName = entry.fileName;
  bool found = FileOpens(fileName);
  if (!found && entry.shiftJisName != NULL && FileOpens(entry.shiftJisName)) {
    fileName = entry.shiftJisName;
    found = true;
  }
  if (!found) {
    ReportMissingAsset("sound", entry.fileName,
                  entry.shiftJisName != NULL ? " (also tried its Shift-JIS name)" : "");
  }
  *slot = NULL;
  if (positioned) {
    LoadSound3D(slot, fileName);
  } else {
    LoadSound(slot, fileName);
  }
}

}  // namespace

void ReportMissingAsset(const char* kind, const char* fileName, const char* note) {
  std::fprintf(stderr, "corvane: missing %s \"%s\"%s (looked in %s)\n", kind, fileName, note,
               SearchedFolder(fileName).c_str());
}

void LoadTexture(IDirect3DTexture9** slot, const char* fileName, UINT width, UINT height,
                 D3DCOLOR colorKey) {
  if (width == 0) width = D3DX_DEFAULT;
  if (height == 0) height = D3DX_DEFAULT;
  *slot = NULL;
  D3DXCreateTextureFromFileExA(Gfx.device, fileName, width, height, 1, 0, D3DFMT_UNKNOWN,
                               D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, colorKey, NULL,
                               NULL, slot);
  if (*slot == NULL) ReportMissingAsset("texture", fileName, "");
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
  for (const TextureEntry& entry : TEXTURES) {
    LoadTexture(entry.slot, entry.fileName, entry.width, entry.height, entry.colorKey);
    if (!spriteMade) {
      D3DXCreateSprite(Gfx.device, &Gfx.sprite);
      if (Gfx.sprite != NULL) Gfx.sprite->OnResetDevice();
      spriteMade = true;
    }
  }
}

void LoadCatalogueSounds() {
  for (const SoundEntry& entry : SOUNDS) LoadSoundEntry(&sounds[entry.slot], entry, false);
  LoadSoundEntry(&passSound, PASS_SOUND, true);
  passSound3D = NULL;
  if (passSound != NULL) {
    passSound->QueryInterface(IID_IDirectSound3DBuffer, (void**)&passSound3D);
  }
#ifndef _WIN32
  for (int i = 0; i < SOUND_SLOT_COUNT; ++i) {
    if (sounds[i] != NULL) CorvaneNameSoundObject(sounds[i], SOUND_SLOT_NAMES[i]);
  }
  if (passSound != NULL) CorvaneNameSoundObject(passSound, "passSound");
  if (passSound3D != NULL) CorvaneNameSoundObject(passSound3D, "passSound3D");
#endif
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
