// The GL context on the web: WebGL 2 on the canvas. The device draws into
// its own back buffer and blits it to the canvas, so the canvas needs no
// depth, stencil or multisampling (a multisampled canvas would refuse the blit).
#include "internal/gl_context.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "internal/startup_problem.h"
#include "web/web_window.h"

struct corvane::GlContext {
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle;
};

namespace corvane {

GlContextResult CreateGlContext(HWND hwnd, int, int, GlContext** out) {
  *out = nullptr;
  if (!IsLiveWindow(hwnd)) return GlContextResult::NoWindow;
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_FALSE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_FALSE;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle = emscripten_webgl_create_context(CANVAS_SELECTOR, &attributes);
  if (handle <= 0) {
    NoteStartupProblem("needs WebGL 2, which this browser does not offer");
    return GlContextResult::NotAvailable;
  }
  emscripten_webgl_make_context_current(handle);
  *out = new GlContext{handle};
  return GlContextResult::Made;
}

void DestroyGlContext(GlContext* context) {
  if (!context) return;
  emscripten_webgl_destroy_context(context->handle);
  delete context;
}

void GlDrawableSize(GlContext*, int* width, int* height) {
  emscripten_get_canvas_element_size(CANVAS_SELECTOR, width, height);
}

// The browser shows frames at its own pace; the game paces itself.
void SetGlSwapInterval(GlContext*, int) {}

// The canvas is shown when control goes back to the browser, which also
// lets the page stay responsive while the game's loop runs.
void FinishGlFrame(GlContext*, bool) { emscripten_sleep(0); }

bool DesktopDisplayMode(int*, int*, int*) { return false; }

}  // namespace corvane
