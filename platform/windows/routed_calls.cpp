// The routed calls: keys from the player's bindings (or the script), time
// from the virtual clock, the after-frame work and the comfort keys from the
// message loop, and hooks on the Direct3D and DirectSound objects (frames,
// captures, the comfort note, the sound trace and the player's levels).
#define CORVANE_ROUTING_CALLS
#include "windows/redirected_calls.h"

#include <cstdio>

#include "common/automation_control.h"
#include "common/comfort_keys.h"
#include "common/input_script.h"
#include "common/key_bindings.h"
#include "common/virtual_clock.h"
#include "internal/automation.h"
#include "win32/key_state.h"
#include "win32/window_registry.h"
#include "windows/com_method_hooks.h"
#include "windows/controllers.h"

namespace corvane {
namespace {

constexpr LONGLONG NANOS_PER_SECOND = 1000000000;
constexpr uint64_t NANOS_PER_MILLI = 1000000;

bool keyDown[256];
bool keyPressed[256];
bool scriptOwnsKeys = false;

bool IsScriptKey(int vk) {
  for (int key : SCRIPT_KEYS)
    if (key == vk) return true;
  return false;
}

// The player's key whose code the bindings turn into the game key `vk`
// (key codes are virtual keys here); 0 when none does.
int PlayerKeyFor(int vk) {
  for (int code = 1; code < 256; ++code)
    if (GameKeyFromKeyCode(code) == vk) return code;
  return 0;
}

// A comfort key's fresh press, as the window's messages bring it (bit 30 of
// a key-down is set for auto-repeat).
void NoteComfortPress(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.lParam & (1L << 30))) return;
  int comfort = ComfortFromKeyCode((int)msg.wParam);
  if (comfort >= 0) RequestComfort(comfort);
}

BOOL CALLBACK SendClose(HWND window, LPARAM) {
  SendMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

void SetVirtualKey(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  if (down && !keyDown[vk]) keyPressed[vk] = true;
  keyDown[vk] = down;
}

void SetScriptOwnsKeys(bool owns) { scriptOwnsKeys = owns; }

// F11 and F12 are comforts of the Linux build; Windows has its own.
bool TakeScreenshotRequest() { return false; }

void CloseAllWindows() { EnumThreadWindows(GetCurrentThreadId(), SendClose, 0); }

}  // namespace corvane

using namespace corvane;

extern "C" {

// Bit 15 down now, bit 0 pressed since the previous query, as Windows keeps
// them: of the script's state for its keys, else of the player's key and
// the controllers.
SHORT WINAPI CorvaneGetAsyncKeyState(int vKey) {
  if (vKey <= 0 || vKey > 255) return GetAsyncKeyState(vKey);
  if (!scriptOwnsKeys || !IsScriptKey(vKey)) {
    int key = PlayerKeyFor(vKey);
    return (SHORT)((key ? GetAsyncKeyState(key) : 0) | ControllerKeyState(vKey));
  }
  SHORT state = (SHORT)((keyDown[vKey] ? 0x8000 : 0) | (keyPressed[vKey] ? 0x0001 : 0));
  keyPressed[vKey] = false;
  return state;
}

BOOL WINAPI CorvanePeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  RunAfterFrameWork();
  ApplyComfortRequests();
  if (PeekMessageA(msg, hwnd, filterMin, filterMax, removeFlags)) {
    if (removeFlags & PM_REMOVE) NoteComfortPress(*msg);
    return TRUE;
  }
  OnIdlePass();
  return FALSE;
}

BOOL WINAPI CorvaneQueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!VirtualClockActive()) return QueryPerformanceCounter(count);
  if (!count) return FALSE;
  count->QuadPart = (LONGLONG)VirtualClockNanos();
  return TRUE;
}

BOOL WINAPI CorvaneQueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!VirtualClockActive()) return QueryPerformanceFrequency(frequency);
  if (!frequency) return FALSE;
  frequency->QuadPart = NANOS_PER_SECOND;
  return TRUE;
}

// A virtual clock does not move while the program waits.
void WINAPI CorvaneSleep(DWORD milliseconds) {
  if (!VirtualClockActive()) Sleep(milliseconds);
}

DWORD WINAPI CorvaneTimeGetTime(void) {
  return VirtualClockActive() ? (DWORD)(VirtualClockNanos() / NANOS_PER_MILLI) : timeGetTime();
}

IDirect3D9* WINAPI CorvaneDirect3DCreate9(UINT sdkVersion) {
  IDirect3D9* d3d = Direct3DCreate9(sdkVersion);
  HookDirect3D(d3d);
  return d3d;
}

HRESULT WINAPI CorvaneDirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8* directSound, LPUNKNOWN outer) {
  HRESULT hr = DirectSoundCreate8(device, directSound, outer);
  if (SUCCEEDED(hr) && directSound) HookDirectSound(*directSound);
  return hr;
}

}  // extern "C"
