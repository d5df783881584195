#include "d3d9/note_overlay.h"

#include "d3d9/gl_compat.h"

#include "common/note_layout.h"

namespace corvane::d3d9 {

void DrawNoteOverlay(const char* text, int x, int y, int w, int h) {
  std::vector<NoteRect> rects = NoteLayout(text, w, h);
  if (rects.empty()) return;
  GLboolean scissorOn = glIsEnabled(GL_SCISSOR_TEST);
  GLint box[4];
  GLfloat clear[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glEnable(GL_SCISSOR_TEST);
  for (const NoteRect& r : rects) {
    glScissor(x + r.x, y + h - r.y - r.h, r.w, r.h);  // GL rows grow upwards
    const float grey = r.grey / 255.f;
    glClearColor(grey, grey, grey, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  if (!scissorOn) glDisable(GL_SCISSOR_TEST);
  glScissor(box[0], box[1], box[2], box[3]);
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

}  // namespace corvane::d3d9
