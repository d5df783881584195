// Windows build only. Forced ahead of every game source (-include), this
// routes the calls that carry time, input, frames and sound through the
// automation module, so the game's own sources stay exactly as they are.
// Without automation options every routed call goes straight to Windows.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>
#include <dsound.h>

#ifdef __cplusplus
extern "C" {
#endif

SHORT WINAPI CorvaneGetAsyncKeyState(int vKey);
BOOL WINAPI CorvanePeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL WINAPI CorvaneQueryPerformanceCounter(LARGE_INTEGER* count);
BOOL WINAPI CorvaneQueryPerformanceFrequency(LARGE_INTEGER* frequency);
void WINAPI CorvaneSleep(DWORD milliseconds);
DWORD WINAPI CorvaneTimeGetTime(void);
IDirect3D9* WINAPI CorvaneDirect3DCreate9(UINT sdkVersion);
HRESULT WINAPI CorvaneDirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8* directSound, LPUNKNOWN outer);
// The game's WinMain, entered from the automation module's own.
int WINAPI CorvaneGameWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

#ifdef __cplusplus
}
#endif

#ifndef CORVANE_ROUTING_CALLS
#define GetAsyncKeyState CorvaneGetAsyncKeyState
#define PeekMessageA CorvanePeekMessageA
#define QueryPerformanceCounter CorvaneQueryPerformanceCounter
#define QueryPerformanceFrequency CorvaneQueryPerformanceFrequency
#define Sleep CorvaneSleep
#define timeGetTime CorvaneTimeGetTime
#define Direct3DCreate9 CorvaneDirect3DCreate9
#define DirectSoundCreate8 CorvaneDirectSoundCreate8
#define WinMain CorvaneGameWinMain
#endif
