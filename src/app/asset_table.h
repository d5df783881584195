// Every data file the game loads: each texture with its slot, size, colour key
// and what it shows, and each sound with its slot. The game's loader, the
// asset generator and the tests all read these tables.
#pragma once

#include <cstdint>

constexpr uint32_t KEY_NONE = 0;
constexpr uint32_t KEY_MAGENTA = 0xFFFF00FF;
constexpr uint32_t KEY_BLACK = 0xFF000000;

struct TextureRow {
  const char* slotName;
  const char* fileName;
  unsigned width;
  unsigned height;
  uint32_t colorKey;  // this exact colour becomes transparent black; 0: no key
  const char* shows;
};

// In load order.
constexpr TextureRow TEXTURE_TABLE[] = {
    {"tex123", "bmp/123.bmp", 384, 64, KEY_MAGENTA, "score digits 0 to 9, 32 x 64 each"},
    {"tex321", "bmp/321.bmp", 384, 128, KEY_NONE, "the countdown numerals"},
    {"texAsist", "bmp/asist.bmp", 256, 256, KEY_BLACK, "the warning markers ahead of the ship"},
    {"texGhost", "bmp/Ghost.bmp", 80, 60, KEY_NONE, "the haze of the ghost item"},
    {"texSmoke2", "bmp/Smoke2.bmp", 256, 256, KEY_NONE, "engine and dash smoke"},
    {"texBLight", "bmp/BLight.bmp", 16, 16, KEY_NONE, "one segment of an engine trail"},
    {"texEffect2", "bmp/effect2.bmp", 64, 64, KEY_NONE, "the engine nozzle glow"},
    {"texEne4", "bmp/ene4.bmp", 220, 80, KEY_MAGENTA, "the frame of the item timer"},
    {"texMoji2", "bmp/moji2.bmp", 512, 480, KEY_NONE, "mode names and game messages"},
    {"texDam2", "bmp/dam2.bmp", 1, 1, KEY_NONE,
     "one white texel: fades, star quads, the score panel's wash"},
    {"texStar", "bmp/Star.bmp", 64, 64, KEY_NONE, "a star: title, particles, menu cursor"},
    {"texEffect1", "bmp/effect1.bmp", 64, 64, KEY_NONE, "a bright flare: graze spark, flash item"},
    {"texEne2", "bmp/ene2.bmp", 200, 50, KEY_NONE, "the item timer bar"},
    {"texS", "bmp/s.bmp", 768, 128, KEY_NONE, "the item roulette reel, six symbols"},
    {"texKaze3", "bmp/kaze3.bmp", 64, 64, KEY_NONE, "wind streaks around the ship"},
    {"texFrame", "bmp/frame.bmp", 220, 80, KEY_MAGENTA, "the frame around the roulette"},
    {"texOph", "bmp/oph.bmp", 800, 600, KEY_NONE, "the title picture"},
    {"texOpmoji", "bmp/opmoji.bmp", 512, 494, KEY_NONE, "title and menu lettering"},
    {"texSelect", "bmp/select.bmp", 512, 128, KEY_MAGENTA, "the mode-select badges"},
    {"texSStar", "bmp/SStar.bmp", 128, 32, KEY_NONE, "a star streak; loaded, not drawn"},
    {"texBaku1", "bmp/baku1.bmp", 1600, 100, KEY_NONE, "the crash explosion, 16 frames in a row"},
    {"texBack1", "bmp/back1.bmp", 235, 235, KEY_NONE, "background: a moon"},
    {"texBack2", "bmp/back2.bmp", 256, 256, KEY_NONE, "background: a nebula"},
    {"texBack3", "bmp/back3.bmp", 436, 235, KEY_NONE, "background: a galaxy band"},
    {"texBack4", "bmp/back4.bmp", 447, 275, KEY_NONE, "background: a ringed giant"},
    {"texBack6", "bmp/back6.bmp", 374, 241, KEY_NONE, "background: a spiral galaxy"},
    {"texEarth", "bmp/earth.bmp", 235, 235, KEY_NONE, "background: an ocean planet"},
    {"texReturn", "bmp/return.bmp", 256, 64, KEY_BLACK, "the pause menu"},
    {"texTrophy", "bmp/trophy.bmp", 100, 100, KEY_BLACK, "the best-score trophy"},
    {"texVec", "bmp/vec.bmp", 320, 64, KEY_BLACK, "the gate arrows, five cells"},
    {"texLock", "bmp/lock.bmp", 64, 64, KEY_NONE, "the gate panel's lock"},
    {"texExplosion", "bmp/animation_explosion005.png", 960, 960, KEY_NONE,
     "an erased arrow's burst, 5 x 5 frames"},
};
constexpr int TEXTURE_COUNT = sizeof(TEXTURE_TABLE) / sizeof(TEXTURE_TABLE[0]);

// The slots of `sounds`. The numbers matter: the fade stops slots 0 to 31 in
// a loop and picks the game music from SND_BE03 to SND_LOOP_46 by number.
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

// A sound file's name, and the same name in code page 932 bytes: Windows
// archives unpacked elsewhere keep the Japanese names in that form.
struct SoundRow {
  int slot;  // -1: the positioned passing sound, outside `sounds`
  const char* slotName;
  const char* fileName;
  const char* shiftJisName;
};

// In load order: the music pool is not loaded in slot order. A file may fill
// two slots (each gets its own buffer).
constexpr SoundRow SOUND_TABLE[] = {
    {SND_TRAMP, "SND_TRAMP", "wav/tramp.wav", nullptr},
    {SND_SE_SOD06, "SND_SE_SOD06", "wav/se_sod06.wav", nullptr},
    {SND_LOOP_60, "SND_LOOP_60", "wav/loop_60.wav", nullptr},
    {SND_LOOP_56, "SND_LOOP_56", "wav/loop_56.wav", nullptr},
    {SND_LOOP_47, "SND_LOOP_47", "wav/loop_47.wav", nullptr},
    {SND_BE03, "SND_BE03", "wav/be03.wav", nullptr},
    {SND_BE05, "SND_BE05", "wav/be05.wav", nullptr},
    {SND_BE08, "SND_BE08", "wav/be08.wav", nullptr},
    {SND_BE08_B, "SND_BE08_B", "wav/be08.wav", nullptr},
    {SND_LOOP_46, "SND_LOOP_46", "wav/loop_46.wav", nullptr},
    {SND_FLYING, "SND_FLYING", "wav/飛行中.wav", "wav/\x94\xF2\x8D\x73\x92\x86.wav"},
    {SND_FORWARD_DASH, "SND_FORWARD_DASH", "wav/前進ダッシュ.wav",
     "wav/\x91\x4F\x90\x69\x83\x5F\x83\x62\x83\x56\x83\x85.wav"},
    {SND_WIND_CUTTING, "SND_WIND_CUTTING", "wav/風きり中.wav",
     "wav/\x95\x97\x82\xAB\x82\xE8\x92\x86.wav"},
    {SND_GRAZE, "SND_GRAZE", "wav/カスリ.wav", "wav/\x83\x4A\x83\x58\x83\x8A.wav"},
    {SND_ITEM_GET, "SND_ITEM_GET", "wav/アイテム取得.wav",
     "wav/\x83\x41\x83\x43\x83\x65\x83\x80\x8E\xE6\x93\xBE.wav"},
    {SND_ROCK_VANISH, "SND_ROCK_VANISH", "wav/岩きえ.wav", "wav/\x8A\xE2\x82\xAB\x82\xA6.wav"},
    {SND_GHOST, "SND_GHOST", "wav/ゴースト.wav", "wav/\x83\x53\x81\x5B\x83\x58\x83\x67.wav"},
    {SND_LIGHT, "SND_LIGHT", "wav/光.wav", "wav/\x8C\xF5.wav"},
    {SND_SPEED_UP, "SND_SPEED_UP", "wav/スピードアップ.wav",
     "wav/\x83\x58\x83\x73\x81\x5B\x83\x68\x83\x41\x83\x62\x83\x76.wav"},
    {SND_SCORE_UP, "SND_SCORE_UP", "wav/スコアアップ.wav",
     "wav/\x83\x58\x83\x52\x83\x41\x83\x41\x83\x62\x83\x76.wav"},
    {SND_OWN_EXPLOSION, "SND_OWN_EXPLOSION", "wav/自機爆発.wav",
     "wav/\x8E\xA9\x8B\x40\x94\x9A\x94\xAD.wav"},
    {SND_ROCK_PASSING, "SND_ROCK_PASSING", "wav/岩通り過ぎ.wav",
     "wav/\x8A\xE2\x92\xCA\x82\xE8\x89\xDF\x82\xAC.wav"},
    {SND_COUNTDOWN_3, "SND_COUNTDOWN_3", "wav/カウントダウン3.wav",
     "wav/\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93\x33.wav"},
    {SND_SPEED_CHANGE, "SND_SPEED_CHANGE", "wav/スピード変化.wav",
     "wav/\x83\x58\x83\x73\x81\x5B\x83\x68\x95\xCF\x89\xBB.wav"},
    {SND_LIGHT_B, "SND_LIGHT_B", "wav/光.wav", "wav/\x8C\xF5.wav"},
    {SND_DASH, "SND_DASH", "wav/ダッシュ.wav", "wav/\x83\x5F\x83\x62\x83\x56\x83\x85.wav"},
    {SND_ESC, "SND_ESC", "wav/esc.wav", nullptr},
    {SND_CAUTION, "SND_CAUTION", "wav/caution.wav", nullptr},
    {SND_SUCCESS, "SND_SUCCESS", "wav/成功.wav", "wav/\x90\xAC\x8C\xF7.wav"},
    {SND_ARROW_ERASE, "SND_ARROW_ERASE", "wav/矢印消去.wav",
     "wav/\x96\xEE\x88\xF3\x8F\xC1\x8B\x8E.wav"},
    {SND_ARROW_SHOW, "SND_ARROW_SHOW", "wav/矢印表示.wav",
     "wav/\x96\xEE\x88\xF3\x95\x5C\x8E\xA6.wav"},
    {SND_MISS, "SND_MISS", "wav/ハズレ.wav", "wav/\x83\x6E\x83\x59\x83\x8C.wav"},
};
static_assert(sizeof(SOUND_TABLE) / sizeof(SOUND_TABLE[0]) == SOUND_SLOT_COUNT,
              "one row for every slot of sounds");

constexpr SoundRow PASS_SOUND_ROW = {-1, "passSound", "wav/通り過ぎ.wav",
                                     "wav/\x92\xCA\x82\xE8\x89\xDF\x82\xAC.wav"};

// The row of a slot of `sounds`.
constexpr const SoundRow& SoundRowOf(int slot) {
  for (const SoundRow& row : SOUND_TABLE)
    if (row.slot == slot) return row;
  return PASS_SOUND_ROW;
}
