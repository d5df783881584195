// What the hooks on Present and DirectSound hand to the automation: frames
// are counted after each Present and captured from the back buffer before it
// (GetRenderTargetData into system memory), the comfort note is drawn after
// the capture, and sound calls are written to the trace.
#include <windows.h>
#include <d3d9.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "common/comfort_note.h"
#include "common/note_layout.h"
#include "internal/automation.h"
#include "windows/com_method_hooks.h"

namespace {

bool formatReported = false;

// Rows top first, 8 bits a channel, opaque; false for a format without
// 8-bit red, green and blue.
bool CopyPixels(const D3DLOCKED_RECT& locked, const D3DSURFACE_DESC& desc, std::vector<unsigned char>& rgba) {
  if (desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8) {
    if (!formatReported) std::fprintf(stderr, "corvane: cannot capture a back buffer of format %d\n", (int)desc.Format);
    formatReported = true;
    return false;
  }
  rgba.resize((size_t)desc.Width * desc.Height * 4);
  for (UINT y = 0; y < desc.Height; ++y) {
    const unsigned char* row = static_cast<const unsigned char*>(locked.pBits) + (size_t)y * locked.Pitch;
    unsigned char* out = &rgba[(size_t)y * desc.Width * 4];
    for (UINT x = 0; x < desc.Width; ++x, row += 4, out += 4) {
      out[0] = row[2];
      out[1] = row[1];
      out[2] = row[0];
      out[3] = 255;
    }
  }
  return true;
}

bool ReadBackBuffer(IDirect3DDevice9* device, std::vector<unsigned char>& rgba, D3DSURFACE_DESC& desc) {
  IDirect3DSurface9* back = nullptr;
  IDirect3DSurface9* copy = nullptr;
  bool done = false;
  if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) && SUCCEEDED(back->GetDesc(&desc)) &&
      SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                    nullptr)) &&
      SUCCEEDED(device->GetRenderTargetData(back, copy))) {
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
      done = CopyPixels(locked, desc, rgba);
      copy->UnlockRect();
    }
  }
  if (copy) copy->Release();
  if (back) back->Release();
  return done;
}

}  // namespace

extern "C" {

void CorvaneBeforePresent(void* device) {
  const int frame = corvane::CurrentFrame();
  if (!corvane::WantsCapture(frame)) return;
  std::vector<unsigned char> rgba;
  D3DSURFACE_DESC desc;
  if (ReadBackBuffer(static_cast<IDirect3DDevice9*>(device), rgba, desc))
    corvane::SaveCapture(frame, rgba.data(), (int)desc.Width, (int)desc.Height);
}

// The comfort note goes into the back buffer after any capture has read it
// and just before Present shows it, drawn with Clears of the layout's
// rectangles on the back buffer; the device's target, viewport and scissor
// state are left as they were.
void CorvaneDrawNote(void* device) {
  const char* text = corvane::ComfortNoteText();
  if (!text) return;
  auto* d = static_cast<IDirect3DDevice9*>(device);
  IDirect3DSurface9* back = nullptr;
  D3DSURFACE_DESC desc;
  if (FAILED(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) || FAILED(back->GetDesc(&desc))) {
    if (back) back->Release();
    return;
  }
  IDirect3DSurface9* target = nullptr;
  D3DVIEWPORT9 viewport;
  DWORD scissor = FALSE;
  d->GetRenderTarget(0, &target);
  d->GetViewport(&viewport);
  d->GetRenderState(D3DRS_SCISSORTESTENABLE, &scissor);
  d->SetRenderTarget(0, back);  // the viewport becomes the whole back buffer
  d->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
  for (const corvane::NoteRect& r : corvane::NoteLayout(text, (int)desc.Width, (int)desc.Height)) {
    D3DRECT rect = {r.x, r.y, r.x + r.w, r.y + r.h};
    d->Clear(1, &rect, D3DCLEAR_TARGET, D3DCOLOR_XRGB(r.grey, r.grey, r.grey), 1.0f, 0);
  }
  d->SetRenderTarget(0, target ? target : back);
  d->SetViewport(&viewport);
  d->SetRenderState(D3DRS_SCISSORTESTENABLE, scissor);
  if (target) target->Release();
  back->Release();
}

void CorvaneAfterPresent(void) { corvane::NotePresent(); }

void CorvaneTraceSoundCall(const void* object, const char* method, const char* format, ...) {
  if (!corvane::SoundTraceEnabled()) return;
  char args[160];
  va_list list;
  va_start(list, format);
  std::vsnprintf(args, sizeof args, format, list);
  va_end(list);
  corvane::SoundTrace(object, method, args);
}

}  // extern "C"
