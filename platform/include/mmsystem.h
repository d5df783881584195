// Windows multimedia (winmm): the timer and the mmio file functions.
#pragma once

#include <windows.h>

typedef UINT MMRESULT;
#define MMSYSERR_NOERROR 0
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

extern "C" {
DWORD WINAPI timeGetTime(void);
MMRESULT WINAPI timeBeginPeriod(UINT uPeriod);
MMRESULT WINAPI timeEndPeriod(UINT uPeriod);
}

// mmio: declared in mmio_subset below (the audio owner fills it).
#include <mmiscapi.h>
