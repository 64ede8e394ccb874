// The keyboard focus: where it goes when a window or container receives it, the modal
// window keeping it, and the record of which control had it last.
#include <windows.h>

#include "gui/control_state.h"
#include "gui/handlers.h"
#include "gui/message_handlers.h"
#include "gui/modal.h"
#include "gui/registry.h"
#include "gui/showing_windows.h"

namespace {

bool isLive(int id) {
  return validId(id) && ctrl_Destroyed[id] == kSlotLive;
}

// A control whose window, or whose owner, has been closed (hidden by its close).
bool inClosedWindow(int id) {
  const int window = findParentWindow(id);
  const int parent = ctrl_Parent[id];
  return (window != 0 && ctrl_Closed[window] == kWindowClosed) || (parent != 0 && ctrl_Closed[parent] == kWindowClosed);
}

bool isEditControl(int id) {
  const int cls = ctrl_Type[id];
  return cls == EditText || cls == MleText || cls == RichEdit;
}

// Where the focus goes instead of a control that hands it on, 0 when it stays.
int handOnTarget(int id) {
  const std::vector<int>& order = ctrl_Focus_order[id];
  if (ctrl_Type[id] == Group)
    return order.empty() ? 0 : order.front();
  if (ctrl_Family[id] != WINDOW)
    return order.empty() ? 0 : validId(ctrl_Current_focus[id]) ? ctrl_Current_focus[id] : order.front();
  return 0;
}

// A window gives the focus back to the child that had it last, unless that is a window.
int lastFocusedChild(int window) {
  const int child = ctrl_Current_focus[window];
  return child != window && validId(child) && ctrl_Family[child] != WINDOW ? child : 0;
}

MsgResult setFocusTo(int id) {
  if (!isLive(id) || !isLive(findParentWindow(id)))
    return {kSubclassedMsg, {}, {}};

  // A focus request for another control that could not be met while this window was closed.
  if (inClosedWindow(id) && focus_current > 0 && focus_current != id && validId(focus_current)) {
    setFocus(focus_current);
    return {kSubclassedMsg, {}, {}};
  }
  const int window = findParentWindow(id);
  if (vModal.window != 0 && window != vModal.window) {
    w32Func(rtn::SetFocus, {vModal.hWnd});
    return {kSubclassedMsg, {}, {}};
  }
  if (const int target = handOnTarget(id)) {
    setFocus(target);
    return {kSubclassedMsg, {}, {}};
  }

  MsgResult result{kSubclassedMsg, {}, {}};
  if (ctrl_Family[id] == WINDOW) {
    const int child = lastFocusedChild(id);
    if (getUserProperty(id, "CanFocus").value_or(0) != 0) {
      const std::vector<int>& order = ctrl_Focus_order[id];
      const int target = child != 0 ? child : order.empty() ? 0 : order.front();
      if (target != 0)
        setFocus(target);
      return {kSubclassedMsg, {}, {}};
    }
    if (child != 0)
      setFocus(child);
    if (ctrl_Parent[id] == 0)
      result = {kMainMsg, {}, {}};
  } else {
    ctrl_Current_focus[window] = id;
    if (const int parent = ctrl_Parent[id]; parent != window && parent != 0)
      ctrl_Current_focus[parent] = id;
  }

  if (isEditControl(id) && getUserProperty(id, "AutoSelect").value_or(0) != 0)
    sendMessage(id, EM_SETSEL, 0, -1);
  invokeHandler(id, w32HGotFocus, {});
  return result;
}

}  // namespace

MsgResult fDoSetFocus(int id, int, int, int, int, int) {
  const MsgResult result = setFocusTo(id);
  // A request setFocus made has been met, or overtaken, by this focus change.
  focus_current = -1;
  return result;
}

MsgResult fDoKillFocus(int id, int, int, int, int, int) {
  if (!isLive(id) || inClosedWindow(id))
    return {kSubclassedMsg, {}, {}};
  ctrl_Previous_focus[findParentWindow(id)] = id;
  invokeHandler(id, w32HLostFocus, {id});
  return {kSubclassedMsg, {}, {}};
}
