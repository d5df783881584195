// GDI (gdi32): only the stock objects. Part of the subset; see windows.h.
#pragma once
#include <windows.h>

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5

extern "C" {
HGDIOBJ WINAPI GetStockObject(int i);
}
