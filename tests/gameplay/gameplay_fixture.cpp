#include "gameplay/gameplay_fixture.h"

#include <cstdlib>
#include <cstring>

#include "internal/automation.h"
#include "media/sprite_draw.h"

std::vector<SoundCall> soundLog;
D3DXVECTOR3 passSoundAt;
int passSoundMoves = 0;

namespace {

int loggedFrame = 0;

struct FakeSound : IDirectSoundBuffer8 {
  int slot = 0;
  HRESULT Log(const char* method) {
    soundLog.push_back({loggedFrame, slot, method});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetVolume(LONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD) override { return Log("Rewind"); }
  HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD flags) override {
    return Log(flags & DSBPLAY_LOOPING ? "Loop" : "Play");
  }
  HRESULT STDMETHODCALLTYPE Stop() override { return Log("Stop"); }
  HRESULT STDMETHODCALLTYPE Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) override {
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Restore() override { return S_OK; }
};

struct FakeSound3D : IDirectSound3DBuffer {
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD) override {
    passSoundAt = D3DXVECTOR3(x, y, z);
    ++passSoundMoves;
    return S_OK;
  }
};

FakeSound fakeSounds[SOUND_SLOT_COUNT + 1];
FakeSound3D fakeSound3D;
const int GAME_KEYS[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE, 'D'};

template <typename T>
void Zero(T& record) {
  std::memset((void*)&record, 0, sizeof record);
}

}  // namespace

void Gameplay::SetUp() {
  Zero(Player), Zero(Camera), Zero(Round), Zero(rocks), Zero(Gate), Zero(Item);
  Zero(Graze), Zero(Screen), Zero(Probe), Zero(Particle), Zero(stars), Zero(DigitBuffer);
  scene = SCENE_GAME;
  enterKeyLatch = arrowKeyLatch = false;
  selectCursor = menuCursor = 0;
  Player.radius = 1.0f;  // the start-up values
  D3DXMatrixTranslation(&Player.world, 0.0f, 0.0f, -60.0f);
  Player.flightFrame = Player.world;
  Screen.tint = TintColor{255.0f, 255.0f, 255.0f};
  Screen.alpha = 255;
  for (int i = 0; i <= SOUND_SLOT_COUNT; ++i) fakeSounds[i].slot = i;
  for (int i = 0; i < SOUND_SLOT_COUNT; ++i) sounds[i] = &fakeSounds[i];
  passSound = &fakeSounds[PASS_SOUND];
  passSound3D = &fakeSound3D;
  soundLog.clear();
  passSoundMoves = frame = loggedFrame = 0;
  for (int vk : GAME_KEYS) Release(vk);
  srand(1);
}

void Gameplay::Step(int count) {
  for (int i = 0; i < count; ++i) {
    loggedFrame = ++frame;
    UpdateGame();
  }
}

void Gameplay::Hold(int vk) { corvane::SetVirtualKey(vk, true); }

void Gameplay::Release(int vk) {
  corvane::SetVirtualKey(vk, false);
  GetAsyncKeyState(vk);
}

void Gameplay::Press(int vk) {
  Step();
  Hold(vk);
  Step();
  Release(vk);
}

void Gameplay::StartFlying() {
  ResetRound();
  Round.phase = PHASE_FLYING;
  Player.steerLimit = 1.0f;
  soundLog.clear();
}

void Gameplay::EmptyCourse() {
  for (Rock& rock : rocks) rock.kind = KIND_GONE;
}

std::vector<int> Gameplay::Restarts(int slot) const {
  std::vector<int> frames;
  for (size_t i = 0; i + 1 < soundLog.size(); ++i)
    if (soundLog[i].slot == slot && soundLog[i].method == "Rewind" &&
        soundLog[i + 1].slot == slot && soundLog[i + 1].method == "Play")
      frames.push_back(soundLog[i].frame);
  return frames;
}

int Gameplay::CountCalls(int slot, const std::string& method) const {
  int n = 0;
  for (const SoundCall& call : soundLog) n += call.slot == slot && call.method == method;
  return n;
}
