// Direct3DCreate9 and IDirect3D9: the display mode and device creation on
// the focus window's GL context (internal/gl_context.h).
#include "d3d9_device_impl.h"

#include <cstdio>
#include <string>

#include "common/startup_marks.h"
#include "internal/gl_context.h"

namespace corvane::d3d9 {

HRESULT Direct3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
  if (!mode || adapter != D3DADAPTER_DEFAULT) return D3DERR_INVALIDCALL;
  *mode = {800, 600, 60, D3DFMT_X8R8G8B8};
  int width = 0, height = 0, refreshRate = 0;
  if (corvane::DesktopDisplayMode(&width, &height, &refreshRate)) {
    mode->Width = (UINT)width;
    mode->Height = (UINT)height;
    mode->RefreshRate = (UINT)refreshRate;
  }
  return D3D_OK;
}

// Every device type and vertex-processing choice asks for the same GL
// context; when it cannot be had, each attempt fails alike.
HRESULT Direct3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD flags,
                                D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
  const corvane::StartupTimer timer(corvane::StartupPart::Device);
  if (!device || !params || adapter != D3DADAPTER_DEFAULT) return D3DERR_INVALIDCALL;
  *device = nullptr;
  HWND hwnd = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
  int major = 3, minor = 3;
  RequestedGlVersion(&major, &minor);
  corvane::GlContext* context = nullptr;
  switch (corvane::CreateGlContext(hwnd, major, minor, &context)) {
    case corvane::GlContextResult::NoWindow:
      std::fprintf(stderr, "d3d9: CreateDevice needs a window made by CreateWindowExA\n");
      return D3DERR_INVALIDCALL;
    case corvane::GlContextResult::NotAvailable:
      return D3DERR_NOTAVAILABLE;
    case corvane::GlContextResult::Made:
      break;
  }
  if (params->BackBufferCount == 0) params->BackBufferCount = 1;
  auto* created = new Device(this, context, *params);
  if (!created->Initialise()) {
    created->Release();
    return D3DERR_NOTAVAILABLE;
  }
  *device = created;
  return D3D_OK;
}

}  // namespace corvane::d3d9

IDirect3D9* WINAPI Direct3DCreate9(UINT SDKVersion) {
  if ((SDKVersion & 0x7FFFFFFF) != D3D_SDK_VERSION) return nullptr;
  return new corvane::d3d9::Direct3D9();
}
