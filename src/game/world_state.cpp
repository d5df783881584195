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

const D3DXVECTOR3 NOZZLE_OFFSETS[NOZZLE_COUNT] = {
    D3DXVECTOR3(-1.0f, -0.4f, -2.8f),
    D3DXVECTOR3(1.0f, -0.4f, -2.8f),
    D3DXVECTOR3(0.0f, 1.3f, -2.8f),
};
