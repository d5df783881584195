// Stock GDI objects: only their identity matters to a window class here.
#include <windows.h>

extern "C" HGDIOBJ WINAPI GetStockObject(int i) {
  static int stockObjects[6];
  if (i < 0 || i > 5) return nullptr;
  return &stockObjects[i];
}
