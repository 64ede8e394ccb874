// Commands from menus and child controls, notifications of common controls, and timers.
#include <windows.h>

#include <commctrl.h>

#include "gui/control_state.h"
#include "gui/handlers.h"
#include "gui/message_handlers.h"
#include "gui/registry.h"
#include "support/hot_path.h"

namespace {

// A child control's command: its family and notification code, the event it raises and the
// first of the event's params.
struct CommandEntry {
  int family;
  int code;
  int event;
  int firstParam;
};
constexpr CommandEntry kCommands[] = {
    {BUTTON, BN_CLICKED, w32HClick, 0},
    {STATIC, STN_CLICKED, w32HClick, 0},
    {LISTBOX, LBN_SELCHANGE, w32HChange, w32CHG_Sel},
    {EDIT, EN_CHANGE, w32HChange, w32CHG_Text},
    {COMBO, CBN_EDITCHANGE, w32HChange, w32CHG_Text},
    {COMBO, CBN_SELCHANGE, w32HChange, w32CHG_Sel},
    {COMBO, CBN_DROPDOWN, w32HDropDown, 0},
    {COMBO, CBN_CLOSEUP, w32HCloseUp, 0},
};

// The high word of a menu command's wParam that marks it as coming from an accelerator.
constexpr int kFromAccelerator = 1;

void wmCommand(int child, int code) {
  const int family = ctrl_Family[child];
  for (const CommandEntry& entry : kCommands) {
    if (entry.family != family || entry.code != code)
      continue;
    EventParams params = {entry.firstParam};
    // A radio button clicked while already off (the click that unchecked it) is no choice.
    if (ctrl_Type[child] == Radio && sendMessage(child, BM_GETCHECK, 0, 0) == 0)
      return;
    if (family == COMBO)
      params.push_back(1 + sendMessage(child, CB_GETCURSEL, 0, 0));
    else if (family == LISTBOX)
      params.push_back(1 + sendMessage(child, LB_GETCURSEL, 0, 0));
    invokeHandler(child, entry.event, params);
    return;
  }
}

// The selected tab changed: show its page, then tell the tab item.
MsgResult fDoTCN_SELCHANGE(int, int, int, int lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  const int tabControl = getId(reinterpret_cast<int>(header->hwndFrom));
  if (!validId(tabControl) || ctrl_Type[tabControl] != TabControl)
    return {kMainMsg, {}, {}};
  const int selected = sendMessage(tabControl, TCM_GETCURSEL, 0, 0);
  const std::vector<int>& items = ctrl_Tabitems[tabControl];
  if (selected < 0 || selected >= static_cast<int>(items.size()))
    return {kMainMsg, {}, {}};
  const int item = items[selected];
  activateTabItems(item);
  invokeHandler(item, w32HClick, {});
  return {kMainMsg, {}, {}};
}

using NotifyHandler = MsgResult (*)(int id, int hWnd, int wParam, int lParam);

// The notifications the framework knows. Only the tab change has a translation: the others
// come from controls this framework does not build, and are answered {source, {}, {}}.
struct NotifyEntry {
  int code;
  NotifyHandler handler;
};
constexpr NotifyEntry kNotifications[] = {
    {static_cast<int>(TCN_SELCHANGE), fDoTCN_SELCHANGE},
    {static_cast<int>(LVN_COLUMNCLICK), nullptr},
    {static_cast<int>(LVN_GETDISPINFOA), nullptr},
    {static_cast<int>(LVN_BEGINDRAG), nullptr},
    {static_cast<int>(TVN_BEGINDRAGA), nullptr},
    {static_cast<int>(TVN_GETDISPINFOA), nullptr},
    {static_cast<int>(TVN_SELCHANGEDA), nullptr},
    {static_cast<int>(TVN_DELETEITEMA), nullptr},
    {static_cast<int>(TTN_GETDISPINFOA), nullptr},
    {static_cast<int>(MCN_SELCHANGE), nullptr},
    {static_cast<int>(MCN_SELECT), nullptr},
    {static_cast<int>(TBN_GETBUTTONINFOA), nullptr},
    {static_cast<int>(TBN_QUERYINSERT), nullptr},
    {static_cast<int>(TBN_QUERYDELETE), nullptr},
    {static_cast<int>(LVN_ITEMCHANGED), nullptr},
    {static_cast<int>(NM_CLICK), nullptr},
    {static_cast<int>(NM_RCLICK), nullptr},
    {static_cast<int>(RBN_HEIGHTCHANGE), nullptr},
};

}  // namespace

MsgResult fDoCommand(int id, int, int, int wParam, int lParam, int) {
  if (lParam == 0) {
    if (HIWORD(wParam) != kFromAccelerator)
      invokeHandler(LOWORD(wParam), w32HClick, {});
    return {kSubclassedMsg, {}, {}};
  }
  const int child = getId(lParam);
  if (child == 0)
    return {kSubclassedMsg, {}, {}};
  int parent = ctrl_Parent[child];
  if (parent >= 1 && parent <= controlCount() && ctrl_Type[parent] == TabItem)
    parent = ctrl_Parent[parent];
  // A tab control hands the commands of its pages on to its window; only the first of the two
  // to see a command handles it.
  if (parent != id)
    return {kSubclassedMsg, {}, {}};
  wmCommand(child, HIWORD(wParam));
  return {ctrl_Parent[id] == 0 ? kMainMsg : kSubclassedMsg, {}, {}};
}

MsgResult fDoNotify(int id, int hWnd, int, int wParam, int lParam, int source) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  const int code = static_cast<int>(header->code);
  for (const NotifyEntry& entry : kNotifications) {
    if (entry.code != code)
      continue;
    if (!entry.handler)
      return {source, {}, {}};
    return entry.handler(id, hWnd, wParam, lParam);
  }
  invokeHandler(getId(reinterpret_cast<int>(header->hwndFrom)), w32HEvent, {WM_NOTIFY, wParam, lParam, source});
  return {kSubclassedMsg, {}, {}};
}

HOT_PATH MsgResult fDoTimer(int id, int, int, int wParam, int, int source) {
  invokeHandler(id, w32HTimer, {wParam});
  return {source, {}, {}};
}
