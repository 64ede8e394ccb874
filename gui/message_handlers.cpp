#include "gui/message_handlers.h"

#include <windows.h>

#include "support/w32dll.h"

namespace {

struct Row {
  int message;
  MessageHandler handler;
};

// The find/replace dialog's message keeps its row without a handler: no window of the
// framework opens that dialog, and the dispatcher raises w32HEvent for it like for any other.
constexpr Row kRows[] = {
    {WM_MOUSEMOVE, fDoMouse},
    {WM_SETFOCUS, fDoSetFocus},
    {WM_KILLFOCUS, fDoKillFocus},
    {WM_KEYDOWN, fDoKeys},
    {WM_CHAR, fDoKeys},
    {WM_KEYUP, fDoKeys},
    {WM_LBUTTONDOWN, fDoMouse},
    {WM_RBUTTONDOWN, fDoMouse},
    {WM_LBUTTONUP, fDoMouse},
    {WM_RBUTTONUP, fDoMouse},
    {WM_LBUTTONDBLCLK, fDoMouse},
    {WM_RBUTTONDBLCLK, fDoMouse},
    {WM_MOUSEWHEEL, fDoMouse},
    {WM_SIZE, fDoSize},
    {WM_COMMAND, fDoCommand},
    {WM_DROPFILES, fDoDropFiles},
    {WM_PAINT, fDoPaint},
    {WM_VSCROLL, fDoScroll},
    {WM_HSCROLL, fDoScroll},
    {WM_TIMER, fDoTimer},
    {WM_SYSCOLORCHANGE, fDoSysColorChange},
    {WM_CTLCOLORBTN, fDoCtlColor},
    {WM_CTLCOLORSTATIC, fDoCtlColor},
    {WM_CTLCOLOREDIT, fDoCtlColor},
    {WM_CTLCOLORLISTBOX, fDoCtlColor},
    {WM_CTLCOLORSCROLLBAR, fDoCtlColor},
    {WM_CLOSE, fDoClose},
    {WM_DESTROY, fDoDestroy},
    {WM_NOTIFY, fDoNotify},
    {WM_SYSKEYDOWN, fDoSYSKEY},
    {WM_SYSCHAR, isHotKey},
    {WM_ERASEBKGND, fDoBkGndErase},
};

// GetKeyState reports a key that is down in its high bit.
bool isDown(int virtualKey) {
  return (w32Func(rtn::GetKeyState, {virtualKey}) & 0x8000) != 0;
}

}  // namespace

void installMessageHandlers() {
  for (const Row& row : kRows)
    setMessageHandler(row.message, row.handler);
}

int keyMasks() {
  int masks = 0;
  if (isDown(VK_SHIFT))
    masks |= kMaskShift;
  if (isDown(VK_CONTROL))
    masks |= kMaskCtrl;
  if (isDown(VK_MENU))
    masks |= kMaskAlt;
  if (isDown(VK_LBUTTON))
    masks |= kMaskLeftButton;
  if (isDown(VK_RBUTTON))
    masks |= kMaskRightButton;
  if (isDown(VK_MBUTTON))
    masks |= kMaskMiddleButton;
  return masks;
}

int mouseKeyMasks(int wParam) {
  // Mouse moves are the most frequent messages: only Alt needs asking for.
  int masks = isDown(VK_MENU) ? kMaskAlt : 0;
  if (wParam & MK_SHIFT)
    masks |= kMaskShift;
  if (wParam & MK_CONTROL)
    masks |= kMaskCtrl;
  if (wParam & MK_LBUTTON)
    masks |= kMaskLeftButton;
  if (wParam & MK_RBUTTON)
    masks |= kMaskRightButton;
  if (wParam & MK_MBUTTON)
    masks |= kMaskMiddleButton;
  return masks;
}
