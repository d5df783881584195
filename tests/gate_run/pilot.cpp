#include "gate_run/pilot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/app_state.h"
#include "game/world_state.h"

namespace {

constexpr int HORIZON = 90;         // frames looked ahead
constexpr float HIT_DISTANCE = 14;  // ship radius + hit radius
constexpr float ENOUGH = 24;        // clearance beyond which nothing is gained

struct Point {
  float x, y, z;
};

struct Ship {
  float x, y, z, vx, vy, vz, cruise, limit;
};

// One frame of the flight rules for a held key pair (-1, 0, +1 per axis).
void Step(Ship& s, int kx, int ky) {
  if (kx > 0) s.vx = std::min(s.vx + 0.05f, s.limit);
  if (kx < 0) s.vx = std::max(s.vx - 0.05f, -s.limit);
  if (ky > 0) s.vy = std::min(s.vy + 0.05f, s.limit);
  if (ky < 0) s.vy = std::max(s.vy - 0.05f, -s.limit);
  s.vz = std::min(s.vz + 0.05f, s.cruise);
  auto friction = [](float& v, float p) {
    if (v > 0) v = (p >= 57 || v - 0.02f < 0) ? 0 : v - 0.02f;
    else if (v < 0) v = (p <= -57 || v + 0.02f > 0) ? 0 : v + 0.02f;
  };
  friction(s.vy, s.y);
  friction(s.vx, s.x);
  s.vz = std::max(s.vz - 0.02f, 0.0f);
  s.x += s.vx;
  s.y += s.vy;
  s.z += s.vz;
}

float Distance(const Ship& s, const Point& p) {
  return std::sqrt((p.x - s.x) * (p.x - s.x) + (p.y - s.y) * (p.y - s.y) + (p.z - s.z) * (p.z - s.z));
}

// How good holding (kx, ky) for `hold` frames and then nothing is: the
// closest any stone comes, capped, with a pull to items and to the middle.
float Rate(Ship s, int kx, int ky, int hold, const std::vector<Point>& stones, const std::vector<Point>& items) {
  float clearance = ENOUGH, nearestItem = 1e9f;
  for (int k = 0; k < HORIZON; ++k) {
    for (const Point& p : stones)
      if (std::fabs(p.z - s.z) < ENOUGH) clearance = std::min(clearance, Distance(s, p));
    for (const Point& p : items)
      if (std::fabs(p.z - s.z) < 2) nearestItem = std::min(nearestItem, Distance(s, p));
    Step(s, k < hold ? kx : 0, k < hold ? ky : 0);
  }
  float itemPull = clearance >= 20 && nearestItem < HIT_DISTANCE - 2 ? 4.0f : 0.0f;
  return clearance + itemPull - 0.01f * (std::fabs(s.x) + std::fabs(s.y));
}

}  // namespace

const char* ArrowKey(int code) {
  static const char* const keys[4] = {"up", "right", "down", "left"};
  return code >= 0 && code < 4 ? keys[code] : "";
}

std::string Pilot::Steer(const JsonValue& state) const {
  const JsonValue& player = state["Player"];
  const JsonValue& world = player["world"];
  Ship ship = {(float)world[12].number,        (float)world[13].number,          (float)world[14].number,
               (float)player["velX"].number,   (float)player["velY"].number,     (float)player["velZ"].number,
               (float)player["cruiseSpeed"].number, (float)player["steerLimit"].number};
  if (ship.limit <= 0) ship.limit = 1.0f;
  bool holdingItem = state["Item"]["spinning"].boolean;
  bool ghost = state["Item"]["effect"].number == EFFECT_GHOST;
  std::vector<Point> stones, items;
  for (const JsonValue& rock : state["rocks"].items) {
    Point p = {(float)rock["pos"][0].number, (float)rock["pos"][1].number, (float)rock["pos"][2].number};
    if (p.z < ship.z - ENOUGH || p.z > ship.z + HORIZON * 2.5f) continue;
    int kind = (int)rock["kind"].number;
    if (kind == KIND_STONE && !ghost) stones.push_back(p);
    if (kind == KIND_ITEM && !holdingItem && seekItems) items.push_back(p);
  }
  float best = -1e9f;
  int bestX = 0, bestY = 0;
  for (int hold : {4, 12, 30, HORIZON})
    for (int kx = -1; kx <= 1; ++kx)
      for (int ky = -1; ky <= 1; ++ky) {
        float rating = Rate(ship, kx, ky, hold, stones, items);
        if (rating > best + 0.001f) best = rating, bestX = kx, bestY = ky;
      }
  std::string keys;
  if (bestX) keys += bestX > 0 ? "right " : "left ";
  if (bestY) keys += bestY > 0 ? "up" : "down";
  return keys;
}

std::string Pilot::KeysAfter(const JsonValue& state) {
  int frame = (int)state["frame"].number;
  if (state["scene"].number != SCENE_GAME)
    return !state["fadeActive"].boolean && frame % 40 >= 20 && frame % 40 < 22 ? "enter" : "";
  const JsonValue& gate = state["Gate"];
  if (gate["kind"].number == GATE_NONE) {
    arrowDown_ = false;
    return state["Round"]["phase"].number == PHASE_FLYING ? Steer(state) : "";
  }
  // A short look at the full panel before the first arrow of each gate.
  bool awaiting = !gate["caution"].boolean && gate["state"].number == GATE_WAITING &&
                  (gate["approach"].number >= 5 || gate["arrows"][0].number > 3 || gate["arrows"][4].number > 3);
  if (!typeArrows || !awaiting || arrowDown_) {
    arrowDown_ = false;
    return "";
  }
  arrowDown_ = true;
  return ArrowKey((int)gate["arrows"][0].number);
}
