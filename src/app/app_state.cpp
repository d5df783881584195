#include "app/app_state.h"

GfxRecord Gfx;
AudioRecord Audio;
HWND mainWindow = NULL;

int scene = SCENE_TITLE;
DWORD lastFrameTime = 0;
bool enterKeyLatch = false;
bool arrowKeyLatch = false;
