// The shell's known folders (shell32): only the per-user application data
// folder the game keeps its files in.
#pragma once

#include <windows.h>

#define CSIDL_APPDATA 0x001a
#define SHGFP_TYPE_CURRENT 0

// Fills `path` (MAX_PATH bytes) with the folder CSIDL_APPDATA names:
// $XDG_DATA_HOME, else ~/.local/share. E_FAIL when neither can be named,
// E_INVALIDARG for any other folder.
HRESULT SHGetFolderPathA(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPSTR pszPath);
