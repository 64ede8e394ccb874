#include "tests/gui/controls_fixture.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/creation.h"
#include "gui/message_dispatch.h"
#include "gui/registry.h"

namespace {

class ControlsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    startRegistry();
    startDispatch();
  }
};

[[maybe_unused]] testing::Environment* const vEnvironment = testing::AddGlobalTestEnvironment(new ControlsEnvironment);

struct ClassSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK noteWindowOfClass(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<ClassSearch*>(search);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, wanted->className) != 0)
    return TRUE;
  wanted->found = window;
  return FALSE;
}

}  // namespace

HWND ownWindowOfClass(const char* className) {
  ClassSearch search = {className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), noteWindowOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND hwndOf(int id) {
  return reinterpret_cast<HWND>(ctrl_Handle[id]);
}

LONG styleOf(int id) {
  return GetWindowLongA(hwndOf(id), GWL_STYLE);
}

LONG exStyleOf(int id) {
  return GetWindowLongA(hwndOf(id), GWL_EXSTYLE);
}

std::string nativeText(int id) {
  char text[256] = {};
  GetWindowTextA(hwndOf(id), text, sizeof text);
  return text;
}

RECT placeOf(int id) {
  RECT rect = {};
  GetWindowRect(hwndOf(id), &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwndOf(id)), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT clientOf(int id) {
  RECT rect = {};
  GetClientRect(hwndOf(id), &rect);
  return rect;
}

int shownWindow(int width, int height) {
  const int window = create(Window, "test window", 0, 20, 20, width, height, 0);
  ShowWindow(hwndOf(window), SW_SHOWNORMAL);
  return window;
}

std::vector<int> panelEdges(int statusBar) {
  int edges[16] = {};
  const int count = static_cast<int>(SendMessageA(hwndOf(statusBar), SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
  return std::vector<int>(edges, edges + count);
}

std::string panelText(int statusBar, int panel) {
  char text[256] = {};
  SendMessageA(hwndOf(statusBar), SB_GETTEXTA, panel - 1, reinterpret_cast<LPARAM>(text));
  return text;
}
