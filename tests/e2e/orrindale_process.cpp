#include "tests/e2e/orrindale_process.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "tests/fixtures/files.h"

namespace {

// The test's own environment with USERNAME and COMPUTERNAME replaced, as a block of
// "NAME=value" strings ending with an empty one.
std::string environmentBlock(const std::string& user, const std::string& computer) {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
    const std::string text = entry;
    if (_strnicmp(entry, "USERNAME=", 9) == 0 || _strnicmp(entry, "COMPUTERNAME=", 13) == 0)
      continue;
    block += text + '\0';
  }
  FreeEnvironmentStringsA(strings);
  block += "USERNAME=" + user + '\0';
  block += "COMPUTERNAME=" + computer + '\0';
  return block + '\0';
}

struct TopSearch {
  const TopWindowTest* matches;
  HWND found;
};

BOOL CALLBACK matchTopWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TopSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (!(*search->matches)(window, process, name))
    return TRUE;
  search->found = window;
  return FALSE;
}

// The first top-level window of the process with that platform class.
HWND windowOfClass(DWORD process, const std::string& className) {
  return findTopWindow(
      [&](HWND, DWORD owner, const std::string& name) { return owner == process && name == className; });
}

}  // namespace

OrrindaleProcess::OrrindaleProcess(const std::string& user,
                                   const std::string& computer,
                                   const std::string& argument,
                                   const std::string& programPath,
                                   const std::string& currentFolder) {
  const std::string program = programPath.empty() ? test_files::besideTest("orrindale") : programPath;
  std::string commandLine = "\"" + program + "\" " + argument;
  std::string environment = environmentBlock(user, computer);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(),
                      currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process_)) {
    process_ = {};
  }
}

OrrindaleProcess::~OrrindaleProcess() {
  if (!started())
    return;
  if (running()) {
    TerminateProcess(process_.hProcess, 3);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool OrrindaleProcess::running() const {
  return started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void OrrindaleProcess::suspend() {
  SuspendThread(process_.hThread);
}

int OrrindaleProcess::waitForExit(int milliseconds) {
  if (!started() || WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0)
    return -1;
  DWORD status = 0;
  GetExitCodeProcess(process_.hProcess, &status);
  return static_cast<int>(status);
}

HWND findTopWindow(const TopWindowTest& matches) {
  TopSearch search{&matches, nullptr};
  EnumWindows(matchTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND OrrindaleProcess::window(int number) const {
  return windowOfClass(id(), "Larkspur AppWindow " + std::to_string(number));
}

bool waitUntil(const std::function<bool()>& condition, int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

namespace {
struct ChildSearch {
  std::string platformClass;
  std::string caption;
  std::vector<HWND> found;
};

BOOL CALLBACK matchChild(HWND control, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  char name[64] = {};
  GetClassNameA(control, name, sizeof name);
  if (_stricmp(name, search->platformClass.c_str()) == 0 &&
      (search->caption.empty() || textOf(control) == search->caption)) {
    search->found.push_back(control);
  }
  return TRUE;
}
}  // namespace

std::vector<HWND> controlsOf(HWND window, const std::string& platformClass, const std::string& caption) {
  ChildSearch search{platformClass, caption, {}};
  EnumChildWindows(window, matchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string textOf(HWND control) {
  char text[1024] = {};
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

void typeInto(HWND edit, const std::string& text) {
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  for (char c : text)
    SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void pressKey(HWND control, int key) {
  PostMessageA(control, WM_KEYDOWN, key, 1);
  PostMessageA(control, WM_CHAR, key, 1);
  PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

std::vector<HWND> visibleControlsInReadingOrder(HWND window, const std::string& platformClass) {
  struct Placed {
    HWND control;
    RECT rect;
  };
  std::vector<Placed> controls;
  for (HWND control : controlsOf(window, platformClass)) {
    if (!IsWindowVisible(control))
      continue;
    controls.push_back({control, {}});
    GetWindowRect(control, &controls.back().rect);
  }
  std::sort(controls.begin(), controls.end(), [](const Placed& a, const Placed& b) { return a.rect.top < b.rect.top; });
  // Controls within a few pixels of the first of a line share that line; a line reads left to right.
  constexpr int kSameLine = 8;
  for (std::size_t start = 0; start < controls.size();) {
    std::size_t end = start;
    while (end < controls.size() && controls[end].rect.top - controls[start].rect.top < kSameLine)
      ++end;
    std::sort(controls.begin() + start, controls.begin() + end,
              [](const Placed& a, const Placed& b) { return a.rect.left < b.rect.left; });
    start = end;
  }
  std::vector<HWND> ordered;
  for (const Placed& placed : controls)
    ordered.push_back(placed.control);
  return ordered;
}

bool hasFocus(HWND control) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info) && info.hwndFocus == control;
}

bool clickInto(HWND control) {
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  return waitUntil([&] { return hasFocus(control); }, 2000);
}

void click(HWND button) {
  PostMessageA(button, BM_CLICK, 0, 0);
}

HWND waitForBox(DWORD process, const std::string& title, int milliseconds) {
  HWND box = nullptr;
  waitUntil(
      [&] {
        box = windowOfClass(process, "#32770");
        return box && IsWindowVisible(box) && textOf(box) == title;
      },
      milliseconds);
  return box && textOf(box) == title ? box : nullptr;
}

void chooseContextMenu(HWND window, char itemKey) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  // The item key must wait for the menu: until it is open, a key goes elsewhere.
  waitUntil([&] {
    const HWND menu = windowOfClass(process, "#32768");
    return menu != nullptr && IsWindowVisible(menu);
  });
  PostMessageA(window, WM_CHAR, itemKey, 0);
}

void chooseMenu(HWND window, char menuKey, char itemKey) {
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, menuKey);
  chooseContextMenu(window, itemKey);
}
