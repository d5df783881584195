// Key names and codes of the Linux build: SDL's scancodes and their names.
#include "common/key_names.h"

#include <SDL.h>

#include "win32/key_state.h"

namespace corvane {

int KeyCodeFromName(const std::string& name) { return SDL_GetScancodeFromName(name.c_str()); }

std::string KeyCodeName(int code) { return SDL_GetScancodeName((SDL_Scancode)code); }

int VirtualKeyFromKeyCode(int code) { return VirtualKeyFromScancode(code); }

}  // namespace corvane
