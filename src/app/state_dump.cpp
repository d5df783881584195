#include "app/state_dump.h"

#include <cmath>

#include <windows.h>
#include <d3dx9.h>

#include "app/app_state.h"
#include "frontend/best_scores.h"
#include "frontend/fade.h"
#include "frontend/mode_select.h"
#include "frontend/title.h"
#include "game/world_state.h"
#include "media/sprite_draw.h"

namespace {

// One JSON object's members; each Field writes its separating comma.
struct Members {
  std::FILE* out;
  bool first;
};

void WriteValue(std::FILE* out, float value) {
  if (std::isnan(value)) std::fputs("NaN", out);
  else if (std::isinf(value)) std::fputs(value > 0 ? "Infinity" : "-Infinity", out);
  else std::fprintf(out, "%.9g", (double)value);
}

void WriteValue(std::FILE* out, int value) { std::fprintf(out, "%d", value); }
void WriteValue(std::FILE* out, DWORD value) { std::fprintf(out, "%lu", (unsigned long)value); }
void WriteValue(std::FILE* out, bool value) { std::fputs(value ? "true" : "false", out); }

void WriteValue(std::FILE* out, const D3DXVECTOR3& v) {
  std::fputc('[', out);
  WriteValue(out, v.x);
  std::fputc(',', out);
  WriteValue(out, v.y);
  std::fputc(',', out);
  WriteValue(out, v.z);
  std::fputc(']', out);
}

void WriteValue(std::FILE* out, const D3DXMATRIX& m) {
  std::fputc('[', out);
  for (int i = 0; i < 16; ++i) {
    if (i) std::fputc(',', out);
    WriteValue(out, m.m[i / 4][i % 4]);
  }
  std::fputc(']', out);
}

// The records' writers, declared ahead of the array and member templates.
void WriteValue(std::FILE* out, const TintColor& c);
void WriteValue(std::FILE* out, const StarColor& c);
void WriteValue(std::FILE* out, const PlayerRecord& p);
void WriteValue(std::FILE* out, const CameraRecord& c);
void WriteValue(std::FILE* out, const RoundRecord& r);
void WriteValue(std::FILE* out, const Rock& r);
void WriteValue(std::FILE* out, const GateRecord& g);
void WriteValue(std::FILE* out, const ItemRecord& i);
void WriteValue(std::FILE* out, const GrazeRecord& g);
void WriteValue(std::FILE* out, const ScreenRecord& s);
void WriteValue(std::FILE* out, const ProbeRecord& p);
void WriteValue(std::FILE* out, const ParticleRecord& p);
void WriteValue(std::FILE* out, const Star& s);
void WriteValue(std::FILE* out, const DigitBufferRecord& d);

template <typename T, size_t N>
void WriteValue(std::FILE* out, const T (&items)[N]) {
  std::fputc('[', out);
  for (size_t i = 0; i < N; ++i) {
    if (i) std::fputc(',', out);
    WriteValue(out, items[i]);
  }
  std::fputc(']', out);
}

template <typename T>
void Field(Members& members, const char* name, const T& value) {
  std::fprintf(members.out, "%s\"%s\":", members.first ? "" : ",", name);
  members.first = false;
  WriteValue(members.out, value);
}

#define FIELD(record, name) Field(m, #name, record.name)

void WriteValue(std::FILE* out, const TintColor& c) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(c, r); FIELD(c, g); FIELD(c, b);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const StarColor& c) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(c, r); FIELD(c, g); FIELD(c, b);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const PlayerRecord& p) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(p, pos); FIELD(p, crashed); FIELD(p, dashSpin); FIELD(p, autoDodge); FIELD(p, velY);
  FIELD(p, velX); FIELD(p, velZ); FIELD(p, steerLimit); FIELD(p, cruiseSpeed); FIELD(p, roll);
  FIELD(p, radius); FIELD(p, glowAlpha); FIELD(p, flightFrame); FIELD(p, world);
  FIELD(p, trailEmitters); FIELD(p, trailHistory); FIELD(p, dashing); FIELD(p, handsOffFrames);
  FIELD(p, boostPhase);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const CameraRecord& c) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(c, eye); FIELD(c, boostPullback); FIELD(c, screenPoint);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const RoundRecord& r) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(r, phase); FIELD(r, mode); FIELD(r, level); FIELD(r, score); FIELD(r, countdownStep);
  FIELD(r, countdownTimer); FIELD(r, introOffset); FIELD(r, flashKind); FIELD(r, explosionFrame);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const Rock& r) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(r, pos); FIELD(r, scale); FIELD(r, spinZ); FIELD(r, spinY); FIELD(r, kind);
  FIELD(r, vanishing); FIELD(r, hitRadius); FIELD(r, grazeRadius);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const GateRecord& g) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(g, kind); FIELD(g, arrows); FIELD(g, keyLatch); FIELD(g, approach); FIELD(g, state);
  FIELD(g, index); FIELD(g, caution); FIELD(g, cautionFlashes); FIELD(g, erasing);
  FIELD(g, eraseFrame); FIELD(g, arrowScale); FIELD(g, arrowAlpha);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const ItemRecord& i) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(i, spinning); FIELD(i, effect); FIELD(i, reelOffset); FIELD(i, timer); FIELD(i, spinCount);
  FIELD(i, flashTimer); FIELD(i, flashX); FIELD(i, flashY); FIELD(i, speedSignY);
  FIELD(i, vanishTimer); FIELD(i, vanishEffect); FIELD(i, vanishArmed); FIELD(i, meshAngle);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const GrazeRecord& g) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(g, sparkPos); FIELD(g, sparkSize); FIELD(g, active);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const ScreenRecord& s) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(s, tint); FIELD(s, alpha);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const ProbeRecord& p) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(p, markers);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const ParticleRecord& p) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(p, active); FIELD(p, pos); FIELD(p, scale); FIELD(p, spin);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const Star& s) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(s, pos); FIELD(s, color);
  std::fputc('}', out);
}

void WriteValue(std::FILE* out, const DigitBufferRecord& d) {
  std::fputc('{', out);
  Members m = {out, true};
  FIELD(d, digits); FIELD(d, digitCount);
  std::fputc('}', out);
}

#undef FIELD

}  // namespace

void WriteStateDump(std::FILE* out) {
  // The platform has already opened the object with its "frame" member.
  Members m = {out, false};
  Field(m, "scene", scene);
  Field(m, "menuCursor", menuCursor);
  Field(m, "titlePulseScale", titlePulseScale);
  Field(m, "titlePulseAlpha", titlePulseAlpha);
  Field(m, "selectCursor", selectCursor);
  Field(m, "selectZoom", selectZoom);
  Field(m, "selectScale", selectScale);
  Field(m, "selectAlpha", selectAlpha);
  Field(m, "fadeActive", fadeActive);
  Field(m, "fadeAlpha", fadeAlpha);
  Field(m, "bestScores", bestScores);
  Field(m, "arrowKeyLatch", arrowKeyLatch);
  Field(m, "enterKeyLatch", enterKeyLatch);
  Field(m, "lastFrameTime", lastFrameTime);
  Field(m, "Player", Player);
  Field(m, "Camera", Camera);
  Field(m, "Round", Round);
  Field(m, "rocks", rocks);
  Field(m, "Gate", Gate);
  Field(m, "Item", Item);
  Field(m, "Graze", Graze);
  Field(m, "Screen", Screen);
  Field(m, "Probe", Probe);
  Field(m, "Particle", Particle);
  Field(m, "stars", stars);
  Field(m, "DigitBuffer", DigitBuffer);
}
