// The frame shape shared by the two front-end screens, and the frame
// functions the main loop dispatches to.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

// What distinguishes one front-end screen's frame: its fixed camera, its
// clear colour and its three steps.
struct FrontEndScene {
  D3DXVECTOR3 eye;
  D3DXVECTOR3 lookAt;
  D3DXVECTOR3 up;
  D3DCOLOR clearColor;
  void (*input)();
  void (*draw)();
  void (*enterRule)();
};

const FrontEndScene& TitleScene();
const FrontEndScene& ModeSelectScene();

// The shared frame: gate, input, the drawn frame, Present (Reset on
// failure), the Enter step, lastFrameTime.
void RunFrontEndFrame(const FrontEndScene& frontEnd);

void TitleFrame();
void ModeSelectFrame();
