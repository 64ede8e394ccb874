#pragma once
// Starts the framework for the window and message-handler tests and gives them what they
// need to watch it: native handles, a message pump that waits for a condition with a
// deadline, a watchdog that ends stuck event loops, and handlers that record their calls.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/event_types.h"

HWND hwndOf(int id);
bool shows(int id);
// The control holding the keyboard focus, 0 when it is none of the framework's.
int focusedControl();

// Dispatches the thread's messages until the condition holds or the deadline passes.
bool pumpUntil(const std::function<bool()>& condition, int deadlineMs = 5000);
// Dispatches what is waiting, without waiting for more.
void pumpPending();

// A top-level window made with create, not yet opened.
int newWindow(const std::string& caption = "test window");

struct Call {
  char routine;
  int self;
  int event;
  EventParams params;
  bool operator==(const Call&) const = default;
};
extern std::vector<Call> vCalls;
std::vector<Call> callsOf(int self, int event);

template <char Name>
void record(int self, int event, const EventParams& params) {
  vCalls.push_back({Name, self, event, params});
}

// While it lives, an event loop that is still running after the deadline is ended; fired()
// tells the test that it had to.
class Watchdog {
 public:
  explicit Watchdog(int deadlineMs = 10000);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  bool fired() const;

 private:
  UINT_PTR timer_;
};

// Holds keys down in the thread's keyboard state for the life of the object.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys);
  ~HeldKeys();
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  BYTE saved_[256];
};
