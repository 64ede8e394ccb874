#include "tests/gui_framework/framework_fixture.h"

#include <gtest/gtest.h>

#include "gui/message_box.h"
#include "gui/registry.h"
#include "support/w32dll.h"
#include "support/w32msgs.h"

namespace {

constexpr char kTestClass[] = "Orrindale framework test";

int address(const void* p) {
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(p));
}

int instance() {
  return address(GetModuleHandleA(nullptr));
}

class FrameworkEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    startRegistry();
    startDispatch();
    r_presentReport = message_box;  // the framework's warnings in their boxes, as its start does
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kTestClass;
    ASSERT_NE(w32Func(rtn::RegisterClassExA, {&windowClass}), 0);
  }
};

[[maybe_unused]] testing::Environment* const vEnvironment = testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

void enrol(int id, int hWnd) {
  setId(hWnd, id);
  ctrl_Handle[id] = hWnd;
  ctrl_Handle_type[id] = kht_Window;
}

}  // namespace

int makeWindow(int owner, int x, int y, int width, int height, std::uint32_t style) {
  const int id = NewControl(Window, owner);
  const int hWnd = w32Func(rtn::CreateWindowExA, {0, kTestClass, "test window", style, x, y, width, height,
                                                  owner ? getHandle(owner) : 0, 0, instance(), 0});
  EXPECT_NE(hWnd, 0);
  enrol(id, hWnd);
  return id;
}

int makeControl(int cls, int owner, int x, int y, int width, int height, const std::string& text) {
  const int id = NewControl(cls, owner);
  const int hWnd = w32Func(rtn::CreateWindowExA, {classStyleEx[cls], className[cls], text, classStyle[cls], x, y, width,
                                                  height, getHandle(owner), 0, instance(), 0});
  EXPECT_NE(hWnd, 0) << className[cls];
  enrol(id, hWnd);
  ctrl_Function[id] = w32Func(rtn::SetWindowLongA, {hWnd, GWL_WNDPROC, reinterpret_cast<const void*>(SubProc)});
  return id;
}

int makeTabItem(int tabControl) {
  const int id = NewControl(TabItem, tabControl);
  ctrl_Tabitems[tabControl].push_back(id);
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  char text[] = "page";
  item.pszText = text;
  sendMessage(tabControl, TCM_INSERTITEMA, static_cast<int>(ctrl_Tabitems[tabControl].size()), address(&item));
  ctrl_Handle[id] = ctrl_Handle[tabControl];
  ctrl_Handle_type[id] = kht_TabItem;
  return id;
}

int makeWindowWithoutId() {
  return w32Func(rtn::CreateWindowExA,
                 {0, kTestClass, "no id", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, 0, 0, instance(), 0});
}

std::string windowText(int hWnd) {
  char text[256] = {};
  w32Func(rtn::GetWindowTextA, {hWnd, static_cast<void*>(text), static_cast<int>(sizeof text)});
  return text;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool isWindow(int hWnd) {
  return IsWindow(reinterpret_cast<HWND>(hWnd)) != FALSE;
}

ScopedMessageHandler::ScopedMessageHandler(int message, MessageHandler handler) : message_(message) {
  setMessageHandler(message, handler);
}

ScopedMessageHandler::~ScopedMessageHandler() {
  setMessageHandler(message_, nullptr);
}
