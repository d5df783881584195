// The GL context a Direct3D device draws through, on a window made by
// CreateWindowExA: OpenGL 3.3 core on SDL natively, WebGL 2 on the canvas
// in the web flavour.
#pragma once

#include <windows.h>

namespace corvane {

struct GlContext;

enum class GlContextResult { Made, NoWindow, NotAvailable };

// Makes a context of at least the version asked for on the window and makes
// it current. NotAvailable notes why as the start-up problem.
GlContextResult CreateGlContext(HWND hwnd, int major, int minor, GlContext** out);
void DestroyGlContext(GlContext* context);

// The default framebuffer's size in pixels.
void GlDrawableSize(GlContext* context, int* width, int* height);
void SetGlSwapInterval(GlContext* context, int interval);

// Ends a frame: shows the default framebuffer when `shown` (else only
// hands the work to the renderer), and lets the browser run on the web.
void FinishGlFrame(GlContext* context, bool shown);

// The desktop's display mode; false when it cannot be known.
bool DesktopDisplayMode(int* width, int* height, int* refreshRate);

}  // namespace corvane
