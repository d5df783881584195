#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

// Application data follows the XDG base directories: the per-user data
// folder, which every Corvane file of the player's own lives under.
HRESULT SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, LPSTR path) {
  if (csidl != CSIDL_APPDATA) return E_INVALIDARG;
  std::string folder;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (dataHome && *dataHome) {
    folder = dataHome;
  } else if (home && *home) {
    folder = std::string(home) + "/.local/share";
  }
  if (folder.empty() || folder.size() >= MAX_PATH) return E_FAIL;
  std::memcpy(path, folder.c_str(), folder.size() + 1);
  return S_OK;
}
