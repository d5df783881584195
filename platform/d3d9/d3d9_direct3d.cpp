// Direct3DCreate9 and IDirect3D9: the display mode and device creation on
// the focus window's SDL window.
#include "d3d9_device_impl.h"

#include <cstdio>
#include <string>

#include "internal/startup_problem.h"
#include "internal/window_internal.h"

namespace corvane::d3d9 {

namespace {

// The OpenGL version the system does offer, from a context of SDL's defaults;
// 0 when it makes none at all.
int OfferedGlVersion(SDL_Window* window) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return 0;
  SDL_GL_MakeCurrent(window, context);
  int version = epoxy_gl_version();
  SDL_GL_DeleteContext(context);
  return version;
}

// One line for the player, said when the game gives up on the device.
void NoteMissingGl(int major, int minor, int offered) {
  std::string needed = "needs OpenGL " + std::to_string(major) + "." + std::to_string(minor);
  if (offered > 0)
    NoteStartupProblem(needed + ", but the graphics driver offers only OpenGL " + std::to_string(offered / 10) + "." +
                       std::to_string(offered % 10));
  else
    NoteStartupProblem(needed + ", but the graphics driver makes no OpenGL context (" + SDL_GetError() + ")");
}

}  // namespace

HRESULT Direct3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
  if (!mode || adapter != D3DADAPTER_DEFAULT) return D3DERR_INVALIDCALL;
  *mode = {800, 600, 60, D3DFMT_X8R8G8B8};
  SDL_DisplayMode desktop;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
    mode->Width = (UINT)desktop.w;
    mode->Height = (UINT)desktop.h;
    mode->RefreshRate = (UINT)desktop.refresh_rate;
  }
  return D3D_OK;
}

// Every device type and vertex-processing choice asks for the same GL
// context; when it cannot be had, each attempt fails alike.
HRESULT Direct3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD flags,
                                D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
  if (!device || !params || adapter != D3DADAPTER_DEFAULT) return D3DERR_INVALIDCALL;
  *device = nullptr;
  HWND hwnd = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
  SDL_Window* window = corvane::SdlWindowFromHwnd(hwnd);
  if (!window) {
    std::fprintf(stderr, "d3d9: CreateDevice needs a window made by CreateWindowExA\n");
    return D3DERR_INVALIDCALL;
  }
  int major = 3, minor = 3;
  RequestedGlVersion(&major, &minor);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    NoteMissingGl(major, minor, OfferedGlVersion(window));
    return D3DERR_NOTAVAILABLE;
  }
  SDL_GL_MakeCurrent(window, context);
  if (epoxy_gl_version() < major * 10 + minor) {
    NoteMissingGl(major, minor, epoxy_gl_version());
    SDL_GL_DeleteContext(context);
    return D3DERR_NOTAVAILABLE;
  }
  if (params->BackBufferCount == 0) params->BackBufferCount = 1;
  auto* created = new Device(this, window, context, *params);
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
