#include "game/world_state.h"

PlayerRecord Player;
CameraRecord Camera;
RoundRecord Round;
Rock rocks[ROCK_COUNT];
GateRecord Gate;
ItemRecord Item;
GrazeRecord Graze;
ScreenRecord Screen;
ProbeRecord Probe;
ParticleRecord Particle;
Star stars[STAR_COUNT];
