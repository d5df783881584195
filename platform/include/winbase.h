// Kernel functions (kernel32) the game uses: sleeping, the performance
// counter, and the entry point's declaration. Part of the subset; see windows.h.
#pragma once
#include <windows.h>

#define INFINITE 0xFFFFFFFF

extern "C" {
void WINAPI Sleep(DWORD dwMilliseconds);
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);
}

// Defined by the program; the platform's main() calls it.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
