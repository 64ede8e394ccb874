#include "tests/support/dialog_answerer.h"

#include <chrono>

namespace {

// A box's controls are read through messages its (blocked) owner thread handles in the box's
// own loop; the time-out only keeps a wedged owner from wedging the watcher too.
std::string textOf(HWND window) {
  char text[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
  return text;
}

std::string classOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct Found {
  DWORD process;
  std::vector<HWND> boxes;
};

BOOL CALLBACK collectBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  auto* boxes = reinterpret_cast<Found*>(found);
  if (process == boxes->process && IsWindowVisible(window) && classOf(window) == "#32770")
    boxes->boxes.push_back(window);
  return TRUE;
}

BOOL CALLBACK readControl(HWND control, LPARAM seen) {
  auto* box = reinterpret_cast<SeenBox*>(seen);
  if (!IsWindowVisible(control))
    return TRUE;
  const std::string kind = classOf(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (kind == "Button") {
    box->buttons.push_back({GetDlgCtrlID(control), textOf(control)});
  } else if (kind == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
    box->icon = reinterpret_cast<HICON>(icon);
  } else if (kind == "Static" && GetDlgCtrlID(control) == 0xFFFF) {
    box->text = textOf(control);
  }
  return TRUE;
}

SeenBox read(HWND window) {
  SeenBox box;
  box.title = textOf(window);
  EnumChildWindows(window, readControl, reinterpret_cast<LPARAM>(&box));
  return box;
}

// The chosen button, or, on a box without it, the first one: a box must always go.
int buttonToPress(const SeenBox& box, int chosen) {
  if (box.hasButton(chosen) || box.buttons.empty())
    return chosen;
  return box.buttons.front().id;
}

// Presses the button as a click would, and waits until the box has gone.
void press(HWND window, int button) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
  while (IsWindow(window) && IsWindowVisible(window) && std::chrono::steady_clock::now() < giveUp)
    Sleep(5);
}

}  // namespace

bool SeenBox::hasButton(int id) const {
  for (const SeenButton& button : buttons)
    if (button.id == id)
      return true;
  return false;
}

std::string SeenBox::describe() const {
  std::string line = "box title=[" + title + "] buttons=[";
  for (const SeenButton& button : buttons)
    line += std::to_string(button.id) + " ";
  return line + "] pressed=" + std::to_string(pressed);
}

DialogAnswerer::DialogAnswerer(std::string title, int button, int deadlineMs, DWORD process)
    : title_(std::move(title)),
      button_(button),
      process_(process),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  watcher_ = std::thread([this, deadlineMs] { watch(deadlineMs); });
}

DialogAnswerer::~DialogAnswerer() {
  finish();
  CloseHandle(stop_);
}

std::vector<SeenBox> DialogAnswerer::finish() {
  SetEvent(stop_);
  if (watcher_.joinable())
    watcher_.join();
  return answered();
}

std::vector<SeenBox> DialogAnswerer::answered() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

std::vector<std::string> DialogAnswerer::strays() {
  std::lock_guard<std::mutex> lock(mutex_);
  return strays_;
}

void DialogAnswerer::watch(int deadlineMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
  // Polling: a box belongs to the thread under test, which is blocked inside it, so there is
  // no notification to wait for from here.
  while (WaitForSingleObject(stop_, 10) == WAIT_TIMEOUT) {
    const bool late = std::chrono::steady_clock::now() >= deadline;
    Found found{process_, {}};
    EnumWindows(collectBox, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found.boxes) {
      SeenBox box = read(window);
      const bool wanted = box.title == title_ && !late;
      if (!wanted && !late)
        continue;
      // Recorded before the press: once the box goes, the code under test runs on and may
      // look at the record at once.
      box.pressed = buttonToPress(box, wanted ? button_ : IDCANCEL);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (wanted)
          boxes_.push_back(box);
        else
          strays_.push_back(box.title);
      }
      press(window, box.pressed);
    }
  }
}
