// Game controllers in the Windows build (XInput), as keys.
#pragma once

#include <windows.h>

namespace corvane {

// GetAsyncKeyState's answer for a game key from the controllers alone: bit 15
// while one holds it, bit 0 when it was taken since this key's previous query.
SHORT ControllerKeyState(int vk);

}  // namespace corvane
