// Size changes with the layout of a window's bars, system colour changes, the colours child
// controls are drawn with, background erasing and painting.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "gui/class_table.h"
#include "gui/control_looks.h"
#include "gui/gdi_objects.h"
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

// The native tab control whose page the control sits on (through any groups), or 0 when a
// window comes first up the owner chain.
int pageOf(int id) {
  for (int step = 0, up = ctrl_Parent[id]; up != 0 && step <= controlCount(); ++step, up = ctrl_Parent[up]) {
    if (ctrl_Type[up] == TabItem)
      return ctrl_Handle[up];
    if (ctrl_Type[up] == Window)
      return 0;
  }
  return 0;
}

// A tab page has a background of its own (white under most themes), unlike the window face
// that labels, check boxes and group boxes take from their owners by default. On a page, such
// a control with the platform's background or the window face is drawn in the page's colour;
// any other colour it was given is kept, and edit fields keep the platform's.
int pageUnder(int child, int iMsg) {
  const Colour& colour = ctrl_Bg_Color[child];
  if (iMsg != WM_CTLCOLORSTATIC || ctrl_Family[child] == EDIT ||
      !(colour == w32WinDefColor || colour == Colour(WindowColor)))
    return 0;
  return pageOf(child);
}

// The colour of a tab control's page, read once from the middle of the page as the tab control
// draws it, and the brush of that colour. Kept until the system colours change.
struct PageColour {
  int tabControl = 0;
  int colour = 0;
  int brush = 0;
};
PageColour vPage;

const PageColour& pageColour(int tabControl, int dc) {
  if (vPage.tabControl == tabControl)
    return vPage;
  RECT page{};
  w32Func(rtn::GetClientRect, {tabControl, &page});
  w32Func(rtn::SendMessageA, {tabControl, TCM_ADJUSTRECT, FALSE, &page});
  const int x = (page.left + page.right) / 2;
  const int y = (page.top + page.bottom) / 2;
  const int memory = w32Func(rtn::CreateCompatibleDC, {dc});
  const int pixel = w32Func(rtn::CreateCompatibleBitmap, {dc, 1, 1});
  const int previous = w32Func(rtn::SelectObject, {memory, pixel});
  w32Func(rtn::SetWindowOrgEx, {memory, x, y, nullptr});
  w32Func(rtn::SendMessageA, {tabControl, WM_PRINTCLIENT, memory, PRF_CLIENT});
  int colour = w32Func(rtn::GetPixel, {memory, x, y});
  if (colour == static_cast<int>(CLR_INVALID))
    colour = colorValue(WindowColor);
  w32Func(rtn::SelectObject, {memory, previous});
  w32Func(rtn::DeleteObject, {pixel});
  w32Func(rtn::DeleteDC, {memory});

  if (vPage.brush != 0)
    deleteObject(vPage.brush);
  vPage = {tabControl, colour, w32Func(rtn::CreateSolidBrush, {colour})};
  trackObject(vPage.brush, kNoOwner, kLifeProgram, 0, OBJ_BRUSH);
  return vPage;
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
  vPage.tabControl = 0;  // read the page's colour again when next needed
  // Brushes were made from the old system colours; texts read their colour when drawn.
  for (int id = 1; id <= controlCount(); ++id)
    if (isSystemColour(ctrl_Bg_Color[id]) && validId(id))
      setWindowBackColor(id, ctrl_Bg_Color[id]);
  if (w32Func(rtn::InvalidateRect, {hWnd, 0, 1}) == 0)
    warnErr("InvalidateRect in DoSysColorChange failed.");
  return {source, {}, {}};
}

MsgResult fDoCtlColor(int, int, int iMsg, int wParam, int lParam, int) {
  const int child = getId(lParam);
  if (const int page = child != 0 ? pageUnder(child, iMsg) : 0) {
    const PageColour& colour = pageColour(page, wParam);
    w32Func(rtn::SetTextColor, {wParam, colorValue(ctrl_Fg_Color[child])});
    w32Func(rtn::SetBkColor, {wParam, colour.colour});
    return {kMainMsg, colour.brush, {}};
  }
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
