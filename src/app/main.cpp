// The program: start-up, the main loop, shutdown.
#include <windows.h>

#include "app/shell.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) {
  if (!StartUp(hInstance, nShowCmd)) return 0;
  WPARAM exitCode = RunMainLoop();
  ShutDown();
  return (int)exitCode;
}
