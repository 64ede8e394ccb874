#include "tests/gui_windows/windows_fixture.h"

#include <gtest/gtest.h>

#include "gui/creation.h"
#include "gui/event_loop.h"
#include "gui/framework.h"
#include "gui/registry.h"
#include "gui/run_state.h"

std::vector<Call> vCalls;

namespace {

bool vWatchdogFired = false;

void CALLBACK endStuckLoops(HWND, UINT, UINT_PTR, DWORD) {
  vWatchdogFired = true;
  for (int& flag : ActiveEL)
    flag = 1;
}

}  // namespace

HWND hwndOf(int id) {
  return reinterpret_cast<HWND>(ctrl_Handle[id]);
}

bool shows(int id) {
  return IsWindowVisible(hwndOf(id)) != FALSE;
}

int focusedControl() {
  return getId(reinterpret_cast<int>(GetFocus()));
}

bool pumpUntil(const std::function<bool()>& condition, int deadlineMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    pumpPending();
    if (condition())
      return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= static_cast<DWORD>(deadlineMs))
      return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, deadlineMs - spent, QS_ALLINPUT);
  }
}

void pumpPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int newWindow(const std::string& caption) {
  return create(Window, caption, 0, 40, 40, 320, 240, 0);
}

std::vector<Call> callsOf(int self, int event) {
  std::vector<Call> found;
  for (const Call& call : vCalls)
    if (call.self == self && call.event == event)
      found.push_back(call);
  return found;
}

Watchdog::Watchdog(int deadlineMs) : timer_(SetTimer(nullptr, 0, deadlineMs, endStuckLoops)) {
  vWatchdogFired = false;
}

Watchdog::~Watchdog() {
  KillTimer(nullptr, timer_);
}

bool Watchdog::fired() const {
  return vWatchdogFired;
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
  GetKeyboardState(saved_);
  BYTE state[256];
  GetKeyboardState(state);
  for (int key : keys)
    state[key] = 0x80;
  SetKeyboardState(state);
}

HeldKeys::~HeldKeys() {
  SetKeyboardState(saved_);
}
