// The routed calls: keys from the script, time from the virtual clock, the
// after-frame work from the message loop, and hooks on the Direct3D and
// DirectSound objects. Each goes straight to Windows when no automation
// option asks for anything else.
#define CORVANE_ROUTING_CALLS
#include "windows/redirected_calls.h"

#include <cstdio>

#include "common/automation_control.h"
#include "common/input_script.h"
#include "common/virtual_clock.h"
#include "internal/automation.h"
#include "common/key_bindings.h"
#include "win32/key_state.h"
#include "win32/window_registry.h"
#include "windows/automation_switch.h"
#include "windows/com_method_hooks.h"

namespace corvane {
namespace {

constexpr LONGLONG NANOS_PER_SECOND = 1000000000;
constexpr uint64_t NANOS_PER_MILLI = 1000000;

bool keyDown[256];
bool keyPressed[256];
bool scriptOwnsKeys = false;
bool frameHooks = false;

bool IsScriptKey(int vk) {
  for (int key : SCRIPT_KEYS)
    if (key == vk) return true;
  return false;
}

BOOL CALLBACK SendClose(HWND window, LPARAM) {
  SendMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

void UseFrameHooks(bool on) { frameHooks = on; }

void SetVirtualKey(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  if (down && !keyDown[vk]) keyPressed[vk] = true;
  keyDown[vk] = down;
}

void SetScriptOwnsKeys(bool owns) { scriptOwnsKeys = owns; }

// F11 and F12 are comforts of the Linux build; Windows has its own.
bool TakeScreenshotRequest() { return false; }

// Scripts name no keyboard keys here (the reader refuses key:NAME).
int GameKeyFromKeyCode(int) { return 0; }

void CloseAllWindows() { EnumThreadWindows(GetCurrentThreadId(), SendClose, 0); }

}  // namespace corvane

using namespace corvane;

extern "C" {

// Bit 15 down now, bit 0 pressed since the previous query, as Windows keeps them.
SHORT WINAPI CorvaneGetAsyncKeyState(int vKey) {
  if (!scriptOwnsKeys || vKey <= 0 || vKey > 255 || !IsScriptKey(vKey)) return GetAsyncKeyState(vKey);
  SHORT state = (SHORT)((keyDown[vKey] ? 0x8000 : 0) | (keyPressed[vKey] ? 0x0001 : 0));
  keyPressed[vKey] = false;
  return state;
}

BOOL WINAPI CorvanePeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  RunAfterFrameWork();
  if (PeekMessageA(msg, hwnd, filterMin, filterMax, removeFlags)) return TRUE;
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
  if (frameHooks) HookDirect3D(d3d);
  return d3d;
}

HRESULT WINAPI CorvaneDirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8* directSound, LPUNKNOWN outer) {
  HRESULT hr = DirectSoundCreate8(device, directSound, outer);
  if (SUCCEEDED(hr) && directSound && SoundTraceEnabled()) HookDirectSound(*directSound);
  return hr;
}

}  // extern "C"
