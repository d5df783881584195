// The key table the settings file, scripts and the web flavour share: its
// names must be SDL's own (files written by earlier versions name keys as
// SDL does), and browser key codes must land on the same keys.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <string>

#include "common/key_table.h"

TEST(KeyNames, AreSdlsNamesForTheWholeKeyboard) {
  for (int code = 1; code < SDL_NUM_SCANCODES; ++code) {
    const std::string name = corvane::ScancodeName(code);
    const bool standardKey = (code >= 4 && code <= 101 && code != 50 && code != 100) || (code >= 224 && code <= 231);
    EXPECT_EQ(standardKey, !name.empty()) << code;
    if (name.empty()) continue;
    EXPECT_EQ(SDL_GetScancodeName(SDL_Scancode(code)), name);
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    EXPECT_EQ(code, corvane::ScancodeFromName(lower)) << name;
  }
  EXPECT_EQ(0, corvane::ScancodeFromName("NoSuchKey"));
  EXPECT_EQ(0, corvane::ScancodeFromName(""));
}

TEST(KeyNames, BrowserCodesFindTheirKeys) {
  const std::pair<const char*, SDL_Scancode> pairs[] = {{"KeyA", SDL_SCANCODE_A},
                                                        {"KeyZ", SDL_SCANCODE_Z},
                                                        {"Digit1", SDL_SCANCODE_1},
                                                        {"Digit0", SDL_SCANCODE_0},
                                                        {"Enter", SDL_SCANCODE_RETURN},
                                                        {"NumpadEnter", SDL_SCANCODE_KP_ENTER},
                                                        {"Numpad0", SDL_SCANCODE_KP_0},
                                                        {"Numpad9", SDL_SCANCODE_KP_9},
                                                        {"ArrowUp", SDL_SCANCODE_UP},
                                                        {"ArrowLeft", SDL_SCANCODE_LEFT},
                                                        {"F12", SDL_SCANCODE_F12},
                                                        {"AltLeft", SDL_SCANCODE_LALT},
                                                        {"ControlRight", SDL_SCANCODE_RCTRL},
                                                        {"Escape", SDL_SCANCODE_ESCAPE},
                                                        {"Backquote", SDL_SCANCODE_GRAVE}};
  for (const auto& [code, scancode] : pairs) EXPECT_EQ(int(scancode), corvane::ScancodeFromBrowserCode(code)) << code;
  EXPECT_EQ(0, corvane::ScancodeFromBrowserCode("keya"));
  EXPECT_EQ(0, corvane::ScancodeFromBrowserCode(""));
}
