#pragma once
// Answers message boxes of the running test's own process (or of a process it started): a
// watcher thread finds a box by its title, records its text, buttons and icon, and presses the button the test chose. At
// its deadline it dismisses whatever box is still open, so a missing answer never hangs a test.
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenButton {
  int id;
  std::string caption;
};

struct SeenBox {
  std::string title;
  std::string text;
  std::vector<SeenButton> buttons;  // the visible ones, in window order
  HICON icon = nullptr;             // the icon shown, nullptr for none
  int pressed = 0;                  // the button pressed (the first one when the chosen is missing)

  bool hasButton(int id) const;
  // One line naming what was seen, for messages and for a death test's output.
  std::string describe() const;
};

class DialogAnswerer {
 public:
  // Starts watching the process for boxes titled title; each is answered with button. From
  // deadlineMs on, boxes of any title are dismissed and recorded as strays.
  DialogAnswerer(std::string title, int button, int deadlineMs = 20000, DWORD process = GetCurrentProcessId());
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // Stops watching (call it once the code under test has returned) and returns the boxes
  // answered, in order.
  std::vector<SeenBox> finish();
  // The boxes answered so far, while still watching.
  std::vector<SeenBox> answered();
  // Titles of boxes dismissed at the deadline.
  std::vector<std::string> strays();

 private:
  void watch(int deadlineMs);

  std::string title_;
  int button_;
  DWORD process_;
  std::mutex mutex_;
  std::vector<SeenBox> boxes_;
  std::vector<std::string> strays_;
  HANDLE stop_;
  std::thread watcher_;
};
