// mmio file functions (winmm); part of the Windows API subset, see mmsystem.h.
#pragma once
#include <windows.h>
