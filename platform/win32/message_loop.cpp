// The thread's message queue. The flavour's events (event_pump.h) become
// window messages when the queue is looked at: key presses are posted as
// WM_KEYDOWN, a close request is sent as WM_CLOSE (whose default handling
// destroys the window, whose WM_DESTROY posts the quit), as on Windows.
// WM_QUIT comes last, once the queue is otherwise empty. The fullscreen
// switch and the comfort keys are looked after here too.
#include <windows.h>
#include <mmsystem.h>

#include <deque>

#include "common/automation_control.h"
#include "common/comfort_keys.h"
#include "common/player_settings.h"
#include "win32/event_pump.h"
#include "win32/focus_pause.h"
#include "win32/key_state.h"
#include "win32/window_registry.h"

namespace corvane {
namespace {

std::deque<MSG> postedMessages;
bool quitPosted = false;
bool quitFetched = false;
int quitExitCode = 0;

void ToggleFullscreenOfGameWindow() {
  HWND live[1];
  if (LiveWindows(live, 1) != 1) return;
  ToggleFullscreen(live[0]);
  NoteFullscreen(IsFullscreen(live[0]));
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = ::timeGetTime();
  postedMessages.push_back(msg);
}

void PumpEvents() {
  PumpPlatformEvents();
  if (TakeFullscreenToggleRequest()) ToggleFullscreenOfGameWindow();
  ApplyComfortRequests();
}

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd && msg.hwnd != hwnd) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

// Takes the next message for the filter, WM_QUIT only when nothing else waits.
bool NextMessage(LPMSG out, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  for (auto it = postedMessages.begin(); it != postedMessages.end(); ++it) {
    if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
    *out = *it;
    if (remove) postedMessages.erase(it);
    return true;
  }
  bool wantsQuit = (filterMin == 0 && filterMax == 0) || (WM_QUIT >= filterMin && WM_QUIT <= filterMax);
  if (quitPosted && wantsQuit) {
    *out = MSG{};
    out->message = WM_QUIT;
    out->wParam = (WPARAM)quitExitCode;
    if (remove) quitPosted = false;
    quitFetched = quitFetched || remove;
    return true;
  }
  return false;
}

}  // namespace

bool QuitMessageFetched() { return quitFetched; }

void CloseAllWindows() {
  HWND live[16];
  int n = LiveWindows(live, 16);
  for (int i = 0; i < n; ++i) SendToWindowProc(live[i], WM_CLOSE, 0, 0);
}

}  // namespace corvane

using namespace corvane;

extern "C" {

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (!lpMsg) return FALSE;
  RunAfterFrameWork();
  PumpEvents();
  bool remove = (wRemoveMsg & PM_REMOVE) != 0;
  // Without focus the game gets no idle pass, so no frame runs; its
  // messages (a close, say) still come through.
  while (PausedForFocus()) {
    if (NextMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove)) return TRUE;
    WaitForPlatformEvents(50);
    PumpEvents();
  }
  if (NextMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove)) return TRUE;
  OnIdlePass();
  return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg) return -1;
  for (;;) {
    PumpEvents();
    if (NextMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) return lpMsg->message != WM_QUIT;
    WaitForPlatformEvents(10);
  }
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  return lpMsg && (lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_KEYUP);
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  if (!lpMsg || lpMsg->message == WM_QUIT) return 0;
  return SendToWindowProc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Post(hWnd, Msg, wParam, lParam);
  return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
  quitPosted = true;
  quitExitCode = nExitCode;
}

}  // extern "C"
