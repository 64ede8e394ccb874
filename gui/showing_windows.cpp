#include "gui/showing_windows.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "gui/control_state.h"
#include "gui/handlers.h"
#include "gui/run_state.h"
#include "support/hot_path.h"
#include "support/w32dll.h"

const char* const vSHOWWORDS[] = {"HIDE",     "SHOWNORMAL",     "NORMAL",      "SHOWMINIMIZED", "SHOWMAXIMIZED",
                                  "MAXIMIZE", "SHOWNOACTIVATE", "SHOW",        "MINIMIZE",      "SHOWMINNOACTIVE",
                                  "SHOWNA",   "RESTORE",        "SHOWDEFAULT", "MAX",           "FULLSCREEN",
                                  "MODAL",    "DIALOG"};
const ShowStyle vSHOWCODES[] = {0, 1, 1, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 10, w32FullScreen, kModalStyle, kDialogStyle};
static_assert(std::size(vSHOWWORDS) == std::size(vSHOWCODES));

namespace {

// What a window looked like before it went full screen, to be put back by the next numeric
// style. The handle tells a saved state apart from one left by an earlier control of that id.
struct FullScreenSave {
  int id;
  int hWnd;
  int style;
  RECT rect;
};
std::vector<FullScreenSave> vFullScreen;

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

HOT_PATH std::vector<FullScreenSave>::iterator findFullScreen(int id, int hWnd) {
  return std::find_if(vFullScreen.begin(), vFullScreen.end(),
                      [&](const FullScreenSave& saved) { return saved.id == id && saved.hWnd == hWnd; });
}

void enterFullScreen(int id, int hWnd) {
  if (findFullScreen(id, hWnd) == vFullScreen.end()) {
    FullScreenSave saved{id, hWnd, w32Func(rtn::GetWindowLongA, {hWnd, GWL_STYLE}), {}};
    w32Func(rtn::GetWindowRect, {hWnd, &saved.rect});
    vFullScreen.push_back(saved);
  }
  w32Func(rtn::SetWindowLongA, {hWnd, GWL_STYLE, WS_POPUP});
  w32Func(rtn::ShowWindow, {hWnd, SW_MAXIMIZE});
}

HOT_PATH void leaveFullScreen(int id, int hWnd) {
  const auto saved = findFullScreen(id, hWnd);
  if (saved == vFullScreen.end())
    return;
  const RECT& r = saved->rect;
  w32Func(rtn::SetWindowLongA, {hWnd, GWL_STYLE, saved->style});
  w32Func(rtn::SetWindowPos, {hWnd, 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED});
  vFullScreen.erase(saved);
}

bool isModal(const ShowStyle& style) {
  return style.kind == ShowStyle::Number && (style.number == kModalStyle || style.number == kDialogStyle);
}

// The platform command for a numeric style: the framework's own styles (0 and below) show
// the window normally, or restore it when it is minimised.
int showCommand(int hWnd, int style) {
  if (style > 0)
    return style;
  return w32Func(rtn::IsIconic, {hWnd}) ? SW_RESTORE : SW_SHOWNORMAL;
}

// The control each tab control of the window shows: the page of its selected tab.
void showSelectedTabPages(int window) {
  for (int id = 1; id <= controlCount(); ++id) {
    if (ctrl_Type[id] != TabControl || !validId(id) || findParentWindow(id) != window)
      continue;
    const int selected = sendMessage(id, TCM_GETCURSEL, 0, 0);
    const std::vector<int>& items = ctrl_Tabitems[id];
    if (selected >= 0 && selected < static_cast<int>(items.size()))
      activateTabItems(items[selected]);
  }
}

// An edit field is the natural place to start typing; failing that a button, then a combo.
int firstFocusable(int window) {
  const std::vector<int>& order = ctrl_Focus_order[window];
  const auto first = [&](auto matches) {
    const auto found = std::find_if(order.begin(), order.end(), matches);
    return found == order.end() ? 0 : *found;
  };
  if (int edit = first([](int id) { return ctrl_Type[id] == EditText || ctrl_Type[id] == MleText; }))
    return edit;
  if (int button = first([](int id) { return ctrl_Family[id] == BUTTON; }))
    return button;
  return first([](int id) { return ctrl_Family[id] == COMBO; });
}

// The window and the control to focus in it; a name focuses the first control of the
// window's focus order.
WindowRef resolveWindow(const WindowRef& target) {
  if (!target.byName)
    return target;
  const int id = getNameId(target.name);
  if (id == 0 || ctrl_Focus_order[id].empty())
    return WindowRef(id, -1);
  return WindowRef(id, ctrl_Focus_order[id].front());
}

}  // namespace

bool isWindowControl(int id) {
  return validId(id) && ctrl_Family[id] == WINDOW;
}

HOT_PATH ShowStyle translateShowStyle(const ShowStyle& style) {
  if (style.kind != ShowStyle::Word)
    return style;
  const std::string word = upper(style.word);
  for (std::size_t i = 0; i < std::size(vSHOWWORDS); ++i)
    if (word == vSHOWWORDS[i])
      return vSHOWCODES[i];
  return style;
}

void openWindow(const WindowRef& target, const ShowStyle& style) {
  if (vWinMainState == kFinished)
    return;
  const WindowRef resolved = resolveWindow(target);
  const int id = resolved.window;
  if (!isWindowControl(id))
    return;

  invokeHandler(id, w32HOpen, {});
  // An Open handler may have destroyed the window.
  if (!isWindowControl(id))
    return;
  const int hWnd = ctrl_Handle[id];

  ShowStyle shown = translateShowStyle(style);
  // A word the table does not know shows the window the normal way.
  if (shown.kind == ShowStyle::Word)
    shown = kNormalStyle;
  if (isModal(shown)) {
    const int windowStyle = w32Func(rtn::GetWindowLongA, {hWnd, GWL_STYLE});
    w32Func(rtn::SetWindowLongA, {hWnd, GWL_STYLE, windowStyle & ~WS_MINIMIZEBOX});
  }
  if (ctrl_Menu[id].menuBar != 0)
    w32Func(rtn::DrawMenuBar, {hWnd});
  showSelectedTabPages(id);

  if (shown.kind == ShowStyle::FullScreen)
    showWindow(id, shown);
  else
    w32Func(rtn::ShowWindow, {hWnd, showCommand(hWnd, shown.number)});
  ctrl_Closed[id] = kWindowOpen;
  w32Func(rtn::InvalidateRect, {hWnd, 0, 1});
  w32Func(rtn::UpdateWindow, {hWnd});

  if (isModal(shown) && !isOnModalStack(id))
    pushModal(id, hWnd, shown.number, runningEventLoops());

  w32Func(rtn::SetFocus, {hWnd});
  const int focus = resolved.focus == 0 ? firstFocusable(id) : resolved.focus;
  if (focus > 0)
    setFocus(focus);
  invokeHandler(id, w32HActivate, {});
}

HOT_PATH void showWindow(const ControlRef& target, const ShowStyle& style) {
  const int id = resolveControl(target);
  if (!validId(id))
    return;
  const int hWnd = getHandle(id);
  const ShowStyle shown = translateShowStyle(style);
  if (shown.kind == ShowStyle::FullScreen) {
    enterFullScreen(id, hWnd);
  } else if (shown.kind == ShowStyle::Number) {
    leaveFullScreen(id, hWnd);
    w32Call(rtn::ShowWindow, hWnd, shown.number);
  }
  // A hidden window has nothing to paint: the platform keeps no update region for it.
  const bool hidden = shown.kind == ShowStyle::Number && shown.number == SW_HIDE;
  if (ctrl_Family[id] == WINDOW && !hidden && w32Call(rtn::IsWindowVisible, hWnd))
    w32Call(rtn::UpdateWindow, hWnd);
}
