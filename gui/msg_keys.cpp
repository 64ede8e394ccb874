// Keys: the key events, Tab and Enter moving the focus through a window, and hot keys.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "gui/control_state.h"
#include "gui/handlers.h"
#include "gui/message_handlers.h"
#include "gui/registry.h"

namespace {

enum class FocusMove { None, Forward, Backward };

int selectedTabItem(int tabControl) {
  const int selected = sendMessage(tabControl, TCM_GETCURSEL, 0, 0);
  const std::vector<int>& items = ctrl_Tabitems[tabControl];
  return selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : 0;
}

// The controls of a container in the order Tab visits them: a tab control is followed by
// the page of its selected tab, and a group's members stand in for the group.
void collectTabOrder(int container, std::vector<int>& order) {
  for (int member : ctrl_Focus_order[container]) {
    if (!validId(member))
      continue;
    if (ctrl_Type[member] == TabControl) {
      order.push_back(member);
      if (const int page = selectedTabItem(member))
        collectTabOrder(page, order);
    } else if (!ctrl_Focus_order[member].empty()) {
      collectTabOrder(member, order);
    } else {
      order.push_back(member);
    }
  }
}

bool canTakeFocus(int id) {
  return isEnabled(id) && isVisible(id);
}

// The next (or previous) control after id in its window's tab order that can take the focus,
// going round at the ends.
void moveFocus(int id, FocusMove direction) {
  std::vector<int> order;
  collectTabOrder(findParentWindow(id), order);
  if (direction == FocusMove::Backward)
    std::reverse(order.begin(), order.end());
  const auto at = std::find(order.begin(), order.end(), id);
  const std::size_t start = at == order.end() ? order.size() : static_cast<std::size_t>(at - order.begin());
  for (std::size_t step = 1; step <= order.size(); ++step) {
    const int candidate = order[(start + step) % order.size()];
    if (candidate != id && canTakeFocus(candidate)) {
      setFocus(candidate);
      return;
    }
  }
}

// Down arrow on a tab control goes into the page of the selected tab.
void enterTabPage(int tabControl) {
  std::vector<int> page;
  if (const int item = selectedTabItem(tabControl))
    collectTabOrder(item, page);
  const auto first = std::find_if(page.begin(), page.end(), canTakeFocus);
  if (first != page.end())
    setFocus(*first);
}

bool isFocusKey(int id, int key, int masks) {
  if (key != VK_TAB)
    return false;
  return ctrl_TabKey_Used[id] == 1 || (masks & kMaskCtrl) != 0;
}

int upperKey(int key) {
  return key >= 0 && key <= 255 ? std::toupper(key) : key;
}

}  // namespace

MsgResult fDoKeys(int id, int hWnd, int iMsg, int wParam, int lParam, int source) {
  if (!validId(id))
    return {kSubclassedMsg, {}, {}};
  const int masks = keyMasks();
  MsgResult result{kSubclassedMsg, {}, {}};
  FocusMove move = FocusMove::None;
  bool pauseKey = false;

  if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
    if (isHotKey(id, hWnd, iMsg, wParam, lParam, source).tag == kMainMsg)
      result = {kMainMsg, {}, {}};
  } else if (wParam == VK_PAUSE || wParam == VK_CANCEL) {
    pauseKey = true;
  } else if (wParam == VK_DOWN && iMsg == WM_KEYDOWN && ctrl_Type[id] == TabControl) {
    enterTabPage(id);
  } else if (isFocusKey(id, wParam, masks)) {
    result = {kMainMsg, {}, {}};
    move = (masks & kMaskShift) ? FocusMove::Backward : FocusMove::Forward;
  }

  // Only the key-down moves the focus; its character and key-up are swallowed with it.
  int event = 0;
  if (iMsg == WM_KEYDOWN) {
    event = !pauseKey ? w32HKeyDown : (masks & kMaskCtrl) ? w32HBreak : w32HPause;
  } else {
    event = iMsg == WM_CHAR ? w32HKeyPress : w32HKeyUp;
    move = FocusMove::None;
  }

  if (result.tag == kSubclassedMsg) {
    invokeHandler(id, event, {wParam, masks});
    // The edit field never sees a plain Enter: it moves on to the next control.
    if (iMsg == WM_CHAR && wParam == VK_RETURN && masks == 0 && validId(id) && ctrl_Type[id] == EditText) {
      move = FocusMove::Forward;
      result = {kMainMsg, {}, {}};
    }
  }
  if (move != FocusMove::None && validId(id))
    moveFocus(id, move);
  return result;
}

MsgResult isHotKey(int id, int, int iMsg, int wParam, int, int) {
  const int window = findParentWindow(id);
  if (window == 0)
    return {kSubclassedMsg, {}, {}};
  const int key = upperKey(wParam);
  // Copies: focusing or clicking the control runs handlers that may register more hot keys.
  const std::vector<int> keys = ctrl_Hotkey_Keys[window];
  const std::vector<int> ids = ctrl_Hotkey_Ids[window];
  for (std::size_t i = 0; i < keys.size() && i < ids.size(); ++i) {
    const int target = ids[i];
    if (upperKey(keys[i]) != key || !validId(target) || !canTakeFocus(target))
      continue;
    setFocus(target);
    if (iMsg == WM_KEYDOWN || iMsg == WM_SYSCHAR) {
      if (ctrl_Family[target] == BUTTON) {
        sendMessage(target, BM_CLICK, 0, 0);
      } else if (ctrl_Family[target] == WINDOW) {
        sendMessage(target, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        sendMessage(target, WM_LBUTTONUP, 0, 0);
      }
    }
    return {kMainMsg, -1, {}};
  }
  return {kSubclassedMsg, {}, {}};
}

MsgResult fDoSYSKEY(int id, int, int, int wParam, int lParam, int) {
  if (wParam != VK_F10 || !validId(id))
    return {kSubclassedMsg, {}, {}};
  // F10 is an ordinary key here, not the platform's menu key.
  sendMessage(id, WM_KEYDOWN, VK_F10, lParam);
  return {kMainMsg, {}, {}};
}
