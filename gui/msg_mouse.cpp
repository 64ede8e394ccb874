// The mouse over clickable controls (with click detection), scroll-bar actions and dropped
// files.
#include <windows.h>

#include <cstdlib>

#include "gui/handlers.h"
#include "gui/message_handlers.h"
#include "gui/registry.h"
#include "support/w32dll.h"

namespace {

// The platform's usual double-click time: a press and release further apart are no click.
constexpr DWORD kClickTime = 500;
// How far the mouse may move between press and release of a click, in each direction.
constexpr int kClickSlack = 3;
constexpr int kWheelStep = WHEEL_DELTA;

struct Press {
  int id = 0;
  int x = 0;
  int y = 0;
  DWORD time = 0;
};
Press vPress;

bool isClick(int id, int x, int y) {
  return vPress.id == id && GetTickCount() - vPress.time <= kClickTime && std::abs(x - vPress.x) <= kClickSlack &&
         std::abs(y - vPress.y) <= kClickSlack;
}

}  // namespace

MsgResult fDoMouse(int id, int hWnd, int iMsg, int wParam, int lParam, int source) {
  if (!validId(id) || !(classAttr[ctrl_Type[id]] & w32Clickable))
    return {source, {}, {}};
  int x = static_cast<short>(LOWORD(lParam));
  int y = static_cast<short>(HIWORD(lParam));
  int wheel = 0;
  if (iMsg == WM_MOUSEWHEEL) {
    // The wheel reports the pointer in screen coordinates.
    POINT point = {x, y};
    w32Func(rtn::ScreenToClient, {hWnd, &point});
    x = point.x;
    y = point.y;
    wheel = static_cast<short>(HIWORD(wParam)) / kWheelStep;
  }

  if (iMsg == WM_LBUTTONUP) {
    // Buttons report their clicks through their commands.
    if (isClick(id, x, y) && ctrl_Family[id] != BUTTON)
      invokeHandler(id, w32HClick, {});
    vPress = {};
  }
  if (!validId(id))
    return {source, {}, {}};
  if (!ctrl_Cursor[id].empty())
    w32Func(rtn::SetCursor, {ctrl_Cursor[id].front()});
  invokeHandler(id, w32HMouse, {iMsg, x, y, mouseKeyMasks(wParam), wheel});
  if (iMsg == WM_LBUTTONDOWN) {
    vPress = {id, x, y, GetTickCount()};
    if (ctrl_Type[id] == TabControl)
      w32Func(rtn::SetFocus, {hWnd});
  }
  return {source, {}, {}};
}

MsgResult fDoScroll(int id, int, int iMsg, int wParam, int lParam, int source) {
  // A scroll-bar control reports through its parent; a window's own bars through the window.
  const int target = lParam != 0 ? getId(lParam) : id;
  if (!validId(target))
    return {source, {}, {}};
  const int bar = lParam != 0 ? SB_CTL : iMsg == WM_HSCROLL ? SB_HORZ : SB_VERT;
  const int position = w32Func(rtn::GetScrollPos, {getHandle(target), bar});
  invokeHandler(target, w32HScroll, {position, LOWORD(wParam), bar});
  return {source, {}, {}};
}

MsgResult fDoDropFiles(int id, int, int, int wParam, int, int source) {
  const int count = w32Func(rtn::DragQueryFileA, {wParam, 0xFFFFFFFFu, 0, 0});
  invokeHandler(id, w32HDragAndDrop, {count});
  return {source, {}, {}};
}
