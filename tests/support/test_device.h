// A hidden window with a Direct3D device on it, for suites that load or draw
// through the device outside the game's own start-up.
#pragma once

#include <windows.h>
#include <d3d9.h>

struct TestDevice {
  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
};

// width x height back buffer (X8R8G8B8, D16 depth). False, with nothing
// left open, when no device can be made.
bool CreateTestDevice(const char* windowClass, UINT width, UINT height, TestDevice& out);
void ReleaseTestDevice(TestDevice& device);
