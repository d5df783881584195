// The frame shape of the two front-end screens: a 16 ms gate, the screen's
// input, one drawn frame with its fixed camera, Present, then Enter.
#include "app/scene_frame.h"

#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "app/app_state.h"
#include "frontend/mode_select.h"
#include "frontend/title.h"

namespace {

const FLOAT FRONT_END_FOV = 1.0471976f;
const FLOAT FRONT_END_ASPECT = 1.3333334f;
const FLOAT FRONT_END_NEAR = 1.0f;
const FLOAT FRONT_END_FAR = 2000.0f;

void SetFrontEndCamera(const FrontEndScene& frontEnd) {
  D3DXMATRIX view, projection;
  D3DXMatrixLookAtLH(&view, &frontEnd.eye, &frontEnd.lookAt, &frontEnd.up);
  D3DXMatrixPerspectiveFovLH(&projection, FRONT_END_FOV, FRONT_END_ASPECT, FRONT_END_NEAR, FRONT_END_FAR);
  Gfx.device->SetTransform(D3DTS_VIEW, &view);
  Gfx.device->SetTransform(D3DTS_PROJECTION, &projection);
}

}  // namespace

void RunFrontEndFrame(const FrontEndScene& frontEnd) {
  DWORD now = timeGetTime();
  if (now - lastFrameTime < FRAME_INTERVAL_MS) return;

  frontEnd.input();
  Gfx.device->BeginScene();
  Gfx.device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, frontEnd.clearColor, 1.0f, 0);
  SetFrontEndCamera(frontEnd);
  frontEnd.draw();
  Gfx.device->EndScene();
  // A lost device is answered with a Reset; the next frame tries again.
  if (FAILED(Gfx.device->Present(NULL, NULL, NULL, NULL))) Gfx.device->Reset(&Gfx.presentParams);

  if (GetAsyncKeyState(VK_RETURN) == 0) enterKeyLatch = false;
  else frontEnd.enterRule();
  lastFrameTime = now;
}

const FrontEndScene& TitleScene() {
  static const FrontEndScene title = {D3DXVECTOR3(0.0f, 0.0f, 1.0f), D3DXVECTOR3(0.0f, 0.0f, 0.0f),
                                      D3DXVECTOR3(0.0f, 1.0f, 0.0f), 0xFF0000FF,
                                      TitleInput, TitleDraw, TitleEnterRule};
  return title;
}

const FrontEndScene& ModeSelectScene() {
  static const FrontEndScene modeSelect = {D3DXVECTOR3(0.0f, 2.0f, 0.0f), D3DXVECTOR3(0.0f, 0.0f, 60.0f),
                                           D3DXVECTOR3(0.0f, 1.0f, 0.0f), 0xFF000000,
                                           ModeSelectInput, ModeSelectDraw, ModeSelectEnterRule};
  return modeSelect;
}

void TitleFrame() { RunFrontEndFrame(TitleScene()); }

void ModeSelectFrame() { RunFrontEndFrame(ModeSelectScene()); }
