#include "gui/control_state.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "gui/control_looks.h"
#include "gui/menus.h"
#include "gui/registry.h"
#include "support/w32dll.h"

int focus_current = -1;

namespace {

// The controls created inside the roots and, breadth first, everything created inside
// those; a tab control's pages are not entered when keepTabPages is set.
std::vector<int> contents(const std::vector<int>& roots, bool keepTabPages) {
  std::vector<int> found;
  std::vector<int> queue = roots;
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const int id = queue[next];
    if (next >= roots.size())
      found.push_back(id);
    if (keepTabPages && next >= roots.size() && ctrl_Type[id] == TabControl)
      continue;
    for (int member : ctrl_Group[id])
      if (std::find(queue.begin(), queue.end(), member) == queue.end())
        queue.push_back(member);
  }
  return found;
}

int tabPosition(int tabItem) {
  const std::vector<int>& items = ctrl_Tabitems[ctrl_Parent[tabItem]];
  const auto found = std::find(items.begin(), items.end(), tabItem);
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

// Enabling shows the background the control had by class (or its owner's, for a transparent
// one); disabling shows the owner's, unless the class keeps its own when disabled.
void reapplyBackground(int id, bool enabled) {
  const int cls = ctrl_Type[id];
  const int owner = ctrl_Parent[id];
  if (!enabled) {
    if (owner != 0 && !(classAttr[cls] & w32NoRenderDisabled))
      setWindowBackColor(id, ctrl_Bg_Color[owner]);
  } else if (classBGColor[cls] == w32BGTransparent) {
    setWindowBackColor(id, ctrl_Bg_Color[owner != 0 ? owner : id]);
  } else {
    setWindowBackColor(id, classBGColor[cls]);
  }
}

}  // namespace

void setCheck(const PartList& controls, int state) {
  for (const Part& part : controls.parts) {
    const int id = part.id;
    if (!validId(id) || id == Screen)
      continue;
    if (isMenuEntry(id))
      checkMenuItem(id, state != 0);
    else
      sendMessage(id, BM_SETCHECK, state, 0);
  }
}

bool isChecked(const Part& control) {
  const int id = control.id;
  if (!validId(id))
    return false;
  if (isMenuEntry(id))
    return isMenuChecked(id);
  return sendMessage(id, BM_GETCHECK, 0, 0) != 0;
}

void setVisible(const IdList& ids, bool visible) {
  for (int id : ids.values)
    if (validId(id))
      w32Func(rtn::ShowWindow, {getHandle(id), visible ? SW_SHOWNORMAL : SW_HIDE});
}

bool isVisible(int id) {
  if (!validId(id))
    return false;
  if (ctrl_Type[id] == TabItem)
    return true;
  return w32Func(rtn::IsWindowVisible, {getHandle(id)}) != 0;
}

void setEnable(const IdList& ids, bool enable) {
  for (int id : ids.values) {
    if (!validId(id))
      continue;
    if (isMenuEntry(id)) {
      enableMenuItem(id, enable);
      continue;
    }
    w32Func(rtn::EnableWindow, {getHandle(id), enable ? 1 : 0});
    reapplyBackground(id, enable);
  }
}

bool isEnabled(int id) {
  if (!validId(id))
    return false;
  if (isMenuEntry(id))
    return isMenuEnabled(id);
  if (ctrl_Type[id] == TabItem)
    return true;
  return w32Func(rtn::IsWindowEnabled, {getHandle(id)}) != 0;
}

void setFocus(const Part& target) {
  const int id = target.id;
  if (!isEnabled(id) || !isVisible(id))
    return;
  if (ctrl_Type[id] == TabItem) {
    sendMessage(ctrl_Parent[id], TCM_SETCURSEL, tabPosition(id), 0);
    activateTabItems(id);
    return;
  }
  focus_current = id;
  w32Func(rtn::SetFocus, {getHandle(id)});
}

void activateTabItems(int tabItem) {
  if (!validId(tabItem) || ctrl_Type[tabItem] != TabItem)
    return;
  const int tabControl = ctrl_Parent[tabItem];
  ctrl_Current_focus[tabControl] = tabItem;

  std::vector<int> others;
  for (int item : ctrl_Tabitems[tabControl])
    if (item != tabItem)
      others.push_back(item);
  const std::vector<int> hidden = contents(others, false);
  const std::vector<int> shown = contents({tabItem}, true);

  setVisible(hidden, false);
  setVisible(shown, true);
  for (int id : shown)
    if (ctrl_Type[id] == TabControl)
      activateTabItems(ctrl_Current_focus[id]);
}

void closeWindow(int id) {
  if (id == 0)
    id = getMainWindow();
  if (validId(id))
    sendMessage(id, WM_CLOSE, 0, 0);
}
