// Closing a window and the end of the main window: a secondary window is hidden and can be
// opened again, the main window is destroyed and ends the program's loop.
#include <windows.h>

#include "gui/destroy.h"
#include "gui/event_loop.h"
#include "gui/handlers.h"
#include "gui/message_handlers.h"
#include "gui/modal.h"
#include "gui/registry.h"
#include "gui/showing_windows.h"
#include "support/w32dll.h"

namespace {

// A close that is refused must not let a destruction waiting on it go ahead.
MsgResult refuse(int id) {
  if (ctrl_Destroyed[id] == kSlotDestroying)
    ctrl_Destroyed[id] = kSlotLive;
  return {kMainMsg, {}, {}};
}

}  // namespace

MsgResult fDoClose(int id, int hWnd, int, int, int, int) {
  if (!validId(id) || ctrl_Closed[id] != kWindowOpen)
    return {kMainMsg, {}, {}};
  if (vModal.window != 0 && vModal.window != id) {
    if (w32Func(rtn::IsIconic, {vModal.hWnd}))
      w32Func(rtn::ShowWindow, {vModal.hWnd, SW_RESTORE});
    w32Func(rtn::SetFocus, {vModal.hWnd});
    return refuse(id);
  }

  ctrl_Closed[id] = kWindowClosing;
  invokeHandler(id, w32HClose, {});

  int style = 0;
  int depth = 0;
  if (vModal.window == id) {
    style = vModal.style;
    depth = vModal.depth;
    popModal();
  }

  if (id != getMainWindow()) {
    w32Func(rtn::ShowWindow, {hWnd, SW_HIDE});
    ctrl_Closed[id] = kWindowClosed;
    if (style == kDialogStyle && runningEventLoops() > depth)
      quitWindow(id);
    return {kMainMsg, {}, {}};
  }
  destroy(id);
  setMainWindow(0);
  ctrl_Closed[id] = kWindowClosed;
  return {kSubclassedMsg, {}, {}};
}

MsgResult fDoDestroy(int id, int, int, int wParam, int, int) {
  if (id != 0 && id == getMainWindow())
    w32Proc(rtn::PostQuitMessage, {wParam});
  return {kSubclassedMsg, {}, {}};
}
