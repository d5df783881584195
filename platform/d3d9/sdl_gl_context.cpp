// GL contexts on SDL windows, through libepoxy.
#include "internal/gl_context.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <string>

#include "d3d9/sdl_resident_memory.h"
#include "internal/startup_problem.h"
#include "internal/window_internal.h"

struct corvane::GlContext {
  SDL_Window* window;
  SDL_GLContext context;
  bool framePresented;
};

namespace corvane {
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
  else NoteStartupProblem(needed + ", but the graphics driver makes no OpenGL context (" + SDL_GetError() + ")");
}

}  // namespace

GlContextResult CreateGlContext(HWND hwnd, int major, int minor, GlContext** out) {
  *out = nullptr;
  SDL_Window* window = SdlWindowFromHwnd(hwnd);
  if (!window) return GlContextResult::NoWindow;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    NoteMissingGl(major, minor, OfferedGlVersion(window));
    return GlContextResult::NotAvailable;
  }
  SDL_GL_MakeCurrent(window, context);
  if (epoxy_gl_version() < major * 10 + minor) {
    NoteMissingGl(major, minor, epoxy_gl_version());
    SDL_GL_DeleteContext(context);
    return GlContextResult::NotAvailable;
  }
  *out = new GlContext{window, context, false};
  // The driver is loaded and set up: what only that needed can go.
  ReleaseUnmodifiedLibraryPages();
  return GlContextResult::Made;
}

void DestroyGlContext(GlContext* context) {
  if (!context) return;
  SDL_GL_MakeCurrent(context->window, nullptr);
  SDL_GL_DeleteContext(context->context);
  delete context;
}

void GlDrawableSize(GlContext* context, int* width, int* height) {
  SDL_GL_GetDrawableSize(context->window, width, height);
}

void SetGlSwapInterval(GlContext*, int interval) {
  if (SDL_GL_SetSwapInterval(interval) != 0 && interval != 0) SDL_GL_SetSwapInterval(0);
}

void FinishGlFrame(GlContext* context, bool shown) {
  if (shown) SDL_GL_SwapWindow(context->window);
  else glFlush();
  // So is what start-up and compiling the first frame's shaders needed.
  if (!context->framePresented) {
    ReleaseUnmodifiedLibraryPages();
    SettleHeapAfterStartUp();
  }
  context->framePresented = true;
}

bool DesktopDisplayMode(int* width, int* height, int* refreshRate) {
  SDL_DisplayMode desktop;
  if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(0, &desktop) != 0) return false;
  *width = desktop.w, *height = desktop.h, *refreshRate = desktop.refresh_rate;
  return true;
}

}  // namespace corvane
