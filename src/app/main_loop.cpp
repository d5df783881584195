// The main loop: messages first; when none waits, one pass of the current
// scene. Between frames the loop sleeps until the next frame is due.
#include <windows.h>
#include <mmsystem.h>

#include "app/app_state.h"
#include "app/frame_pacer.h"
#include "app/scene_frame.h"
#include "app/main_loop.h"
#include "game/game_frame.h"

namespace {

FramePacer gamePacer = {PerformanceCounterNow, 0, 0, 0, false};
int previousScene = -1;

void WaitForFrontEndFrame() {
  DWORD elapsed = timeGetTime() - lastFrameTime;
  if (elapsed < FRAME_INTERVAL_MS) Sleep(FRAME_INTERVAL_MS - elapsed);
}

}  // namespace

void RunScenePass() {
  if (scene == SCENE_GAME && previousScene != SCENE_GAME)
    StartFramePacer(gamePacer, PerformanceCounterNow, PerformanceCounterFrequency());
  previousScene = scene;

  switch (scene) {
    case SCENE_TITLE:
      TitleFrame();
      WaitForFrontEndFrame();
      break;
    case SCENE_MODE_SELECT:
      ModeSelectFrame();
      WaitForFrontEndFrame();
      break;
    case SCENE_GAME:
      RunPacedGamePass(gamePacer, GameFrame);
      break;
    default:
      // No scene: only messages are handled.
      Sleep(FRAME_INTERVAL_MS);
      break;
  }
}

WPARAM RunMainLoop() {
  MSG msg = {};
  for (;;) {
    if (PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
      if (!GetMessageA(&msg, NULL, 0, 0)) break;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    RunScenePass();
  }
  return msg.wParam;
}
