// The game world: one static instance of each record, zero at program start.
// The update (game/*) writes them; the game frame and the renderers read them.
#pragma once

#include <d3dx9.h>

constexpr int ROCK_COUNT = 30;
constexpr int STAR_COUNT = 20;
constexpr int PARTICLE_COUNT = 400;
constexpr int MARKER_COUNT = 5;
constexpr int TRAIL_LENGTH = 10;
constexpr int NOZZLE_COUNT = 3;
constexpr int GATE_ARROW_COUNT = 5;

// Round.phase
constexpr int PHASE_COUNTDOWN = 1;
constexpr int PHASE_FLYING = 2;
constexpr int PHASE_CRASHED = 3;
constexpr int PHASE_PAUSED = 4;

// Round.mode
constexpr int MODE_NORMAL = 0;
constexpr int MODE_FREE_VIEW = 2;

// Rock.kind
constexpr int KIND_GONE = 0;
constexpr int KIND_STONE = 1;
constexpr int KIND_DUST = 2;
constexpr int KIND_ITEM = 6;

// Item.effect
constexpr int EFFECT_NONE = 0;
constexpr int EFFECT_GHOST = 1;
constexpr int EFFECT_FLASH = 2;
constexpr int EFFECT_SPEED_UP = 3;
constexpr int EFFECT_SPEED_DOWN = 4;
constexpr int EFFECT_SCORE_UP = 5;
constexpr int EFFECT_ROCK_VANISH = 6;

// Gate.kind: no event, or a running event and where the camera watches it from.
constexpr int GATE_NONE = 0;
constexpr int GATE_VIEW_BELOW = 1;
constexpr int GATE_VIEW_RIGHT = 2;
constexpr int GATE_VIEW_LEFT = 3;

// Gate.state, and the number of gate stones in one event.
constexpr int GATE_WAITING = 0;
constexpr int GATE_CLEARED = 1;
constexpr int GATE_FAILED = 2;
constexpr int GATE_COUNT = 7;

// Round.flashKind: the colour of the wash behind the score this frame.
constexpr int FLASH_WHITE = 0;
constexpr int FLASH_RED = 1;   // graze, dash
constexpr int FLASH_BLUE = 2;  // boost, score-up item

// Player.autoDodge: the drift after a cleared gate.
constexpr int DODGE_NONE = 0;
constexpr int DODGE_RIGHT = 1;  // toward +x
constexpr int DODGE_LEFT = 2;   // toward -x
constexpr int DODGE_DOWN = 3;   // toward -y
constexpr int DODGE_UP = 4;     // toward +y

struct PlayerRecord {
  D3DXVECTOR3 pos;
  bool crashed;
  float dashSpin;
  int autoDodge;
  float velY;
  float velX;
  float velZ;
  float steerLimit;
  float cruiseSpeed;
  float roll;
  float radius;
  int glowAlpha;
  D3DXMATRIX flightFrame;
  D3DXMATRIX world;
  D3DXMATRIX trailEmitters[NOZZLE_COUNT];
  D3DXMATRIX trailHistory[NOZZLE_COUNT][TRAIL_LENGTH];
  bool dashing;
  int handsOffFrames;
  float boostPhase;
};

struct CameraRecord {
  D3DXVECTOR3 eye;
  float boostPullback;
  D3DXVECTOR3 screenPoint;
};

struct RoundRecord {
  int phase;
  int mode;
  float level;
  float score;
  int countdownStep;
  float countdownTimer;
  float introOffset;
  int flashKind;
  int explosionFrame;
};

struct Rock {
  D3DXVECTOR3 pos;
  float scale;
  int spinZ;
  int spinY;
  int kind;
  bool vanishing;
  float hitRadius;
  float grazeRadius;
};

struct GateRecord {
  int kind;
  int arrows[GATE_ARROW_COUNT];
  bool keyLatch;
  float approach;
  int state;
  int index;
  bool caution;
  int cautionFlashes;
  bool erasing;
  int eraseFrame;
  float arrowScale;
  int arrowAlpha;
};

struct ItemRecord {
  bool spinning;
  int effect;
  int reelOffset;
  float timer;
  int spinCount;
  float flashTimer;
  float flashX;
  float flashY;
  float speedSignY;
  float vanishTimer;
  bool vanishEffect;
  bool vanishArmed;
  float meshAngle;
};

struct GrazeRecord {
  D3DXVECTOR3 sparkPos;
  float sparkSize;
  bool active;
};

struct TintColor {
  float r, g, b;
};

struct ScreenRecord {
  TintColor tint;
  int alpha;
};

struct ProbeRecord {
  D3DXVECTOR3 markers[MARKER_COUNT];
};

struct ParticleRecord {
  bool active[PARTICLE_COUNT];
  D3DXVECTOR3 pos[PARTICLE_COUNT];
  float scale[PARTICLE_COUNT];
  float spin[PARTICLE_COUNT];
};

struct StarColor {
  float r, g, b;
};

struct Star {
  D3DXVECTOR3 pos;
  StarColor color;
};

extern PlayerRecord Player;
extern CameraRecord Camera;
extern RoundRecord Round;
extern Rock rocks[ROCK_COUNT];
extern GateRecord Gate;
extern ItemRecord Item;
extern GrazeRecord Graze;
extern ScreenRecord Screen;
extern ProbeRecord Probe;
extern ParticleRecord Particle;
extern Star stars[STAR_COUNT];

// The ship's nozzles in ship space: left, right, top. The trails follow them
// in this order.
extern const D3DXVECTOR3 NOZZLE_OFFSETS[NOZZLE_COUNT];
