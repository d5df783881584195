// Part of the Windows API subset; see windows.h.
#pragma once
#include <windows.h>
