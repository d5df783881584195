// Bakes antialiased, kerned text from the Debian font packages into coverage
// masks with stb_truetype. Fonts are looked up under CORVANE_FONT_DIR (the
// environment variable wins over the built-in path); a missing face falls
// back to DejaVu Sans Bold with a message on stderr.
#pragma once

#include <string>

#include "image.h"

enum FontRole {
  FONT_TITLE,    // League Spartan Black: logo and big words
  FONT_HEAVY,    // League Spartan Bold: menu words and messages
  FONT_TECH,     // Jura Bold: small labels
  FONT_ROLE_COUNT
};

// The file a role resolved to (empty when not even the fallback loaded).
std::string FontPath(FontRole role);

// Text laid out on one line at a cap height of capPx pixels, shrunk if needed
// so its ink fits boxW x boxH less margin on every side, and centred on its
// ink in a boxW x boxH mask. tracking adds that many pixels between letters.
Mask BakeText(FontRole role, const std::string& text, int boxW, int boxH, float capPx,
              float margin = 4.0f, float tracking = 0.0f);

// Like BakeText but left-aligned: the ink starts at x = left.
Mask BakeTextLeft(FontRole role, const std::string& text, int boxW, int boxH, float capPx,
                  float left, float tracking = 0.0f);

// One size and one baseline whatever the text: centred on its ink across the
// box, baseline at y = baseline, never shrunk (the caller picks a size that
// fits), so glyphs baked one by one line up.
Mask BakeTextOnBaseline(FontRole role, const std::string& text, int boxW, int boxH, float capPx,
                        float baseline);
