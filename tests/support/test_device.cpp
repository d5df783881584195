#include "support/test_device.h"

bool CreateTestDevice(const char* windowClass, UINT width, UINT height, TestDevice& out) {
  WNDCLASSA registration = {};
  registration.lpfnWndProc = DefWindowProcA;
  registration.lpszClassName = windowClass;
  RegisterClassA(&registration);
  HWND window = CreateWindowExA(0, windowClass, windowClass, WS_OVERLAPPEDWINDOW, 0, 0, (int)width,
                                (int)height, NULL, NULL, NULL, NULL);
  out.d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!out.d3d) return false;
  D3DPRESENT_PARAMETERS params = {};
  params.BackBufferWidth = width;
  params.BackBufferHeight = height;
  params.BackBufferFormat = D3DFMT_X8R8G8B8;
  params.BackBufferCount = 1;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.Windowed = TRUE;
  params.EnableAutoDepthStencil = TRUE;
  params.AutoDepthStencilFormat = D3DFMT_D16;
  if (FAILED(out.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                   D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &out.device))) {
    ReleaseTestDevice(out);
    return false;
  }
  return true;
}

void ReleaseTestDevice(TestDevice& device) {
  if (device.device) device.device->Release();
  if (device.d3d) device.d3d->Release();
  device = TestDevice{};
}
