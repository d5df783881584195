// The program: start-up, the main loop, shutdown.
#include <windows.h>

#include "app/main_loop.h"
#include "app/shutdown.h"
#include "app/startup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) {
  if (!StartUp(hInstance, nShowCmd)) return 0;
  WPARAM exitCode = RunMainLoop();
  ShutDown();
  return (int)exitCode;
}
