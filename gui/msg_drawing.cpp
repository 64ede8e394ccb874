// Size changes with the layout of a window's bars, system colour changes, the colours child
// controls are drawn with, background erasing and painting.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "gui/control_looks.h"
#include "gui/geometry.h"
#include "gui/handlers.h"
#include "gui/message_handlers.h"
#include "gui/registry.h"
#include "support/w32dll.h"
#include "support/w32msgs.h"

namespace {

// The controls inside a paint handler: a repaint they cause is left to default processing.
std::vector<int> vPainting;

bool hasPaintHandlers(int id) {
  return !ctrl_Handlers[id][w32HPaint - 1].empty() || !ctrl_Handlers[Screen][w32HPaint - 1].empty();
}

bool isSystemColour(const Colour& colour) {
  return colour.kind == Colour::Value && colour.value < 0;
}

}  // namespace

MsgResult fDoSize(int id, int, int, int wParam, int lParam, int source) {
  if (!validId(id))
    return {source, {}, {}};
  invokeHandler(id, w32HResize, {wParam, LOWORD(lParam), HIWORD(lParam)});
  // Tool and status bars place themselves along their window's edge when told of its size.
  for (int bar : {ctrl_Toolbar[id], ctrl_Statusbar[id]})
    if (bar > 0 && validId(bar))
      sendMessage(bar, WM_SIZE, 0, 0);
  return {source, {}, {}};
}

MsgResult fDoSysColorChange(int, int hWnd, int, int, int, int source) {
  // Brushes were made from the old system colours; texts read their colour when drawn.
  for (int id = 1; id <= controlCount(); ++id)
    if (isSystemColour(ctrl_Bg_Color[id]) && validId(id))
      setWindowBackColor(id, ctrl_Bg_Color[id]);
  if (w32Func(rtn::InvalidateRect, {hWnd, 0, 1}) == 0)
    warnErr("InvalidateRect in DoSysColorChange failed.");
  return {source, {}, {}};
}

MsgResult fDoCtlColor(int, int, int, int wParam, int lParam, int) {
  const int child = getId(lParam);
  // Without a background of its own, a child is drawn the platform's way: the brush the
  // default processing answers with, rather than no brush at all.
  if (child == 0 || ctrl_Bg_Brush[child] == 0)
    return {kSubclassedMsg, {}, {}};
  w32Func(rtn::SetTextColor, {wParam, colorValue(ctrl_Fg_Color[child])});
  w32Func(rtn::SetBkColor, {wParam, colorValue(ctrl_Bg_Color[child])});
  return {kMainMsg, ctrl_Bg_Brush[child], {}};
}

MsgResult fDoBkGndErase(int id, int, int, int, int, int) {
  return {validId(id) && ctrl_Erase[id] ? kMainMsg : kSubclassedMsg, {}, {}};
}

MsgResult fDoPaint(int id, int hWnd, int, int, int, int) {
  if (!validId(id) || !hasPaintHandlers(id) || std::find(vPainting.begin(), vPainting.end(), id) != vPainting.end())
    return {kSubclassedMsg, {}, {}};
  vPainting.push_back(id);
  PAINTSTRUCT paint = {};
  w32Func(rtn::BeginPaint, {hWnd, &paint});
  const RECT& area = paint.rcPaint;
  invokeHandler(id, w32HPaint, {area.left, area.top, area.right, area.bottom});
  w32Func(rtn::EndPaint, {hWnd, &paint});
  vPainting.erase(std::find(vPainting.begin(), vPainting.end(), id));
  return {kMainMsg, {}, {}};
}
