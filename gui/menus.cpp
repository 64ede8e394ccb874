#include "gui/menus.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "gui/handlers.h"
#include "gui/registry.h"
#include "support/w32dll.h"
#include "support/w32msgs.h"

namespace {

using Offset = std::optional<std::array<int, 2>>;

// The offsets of context menus given as {menu, dx, dy}, beside the menu ids in ctrl_Popup.
// Every place attachPopup sets also sets its offset here.
std::map<int, std::array<Offset, 4>> vPopupOffsets;

constexpr int kNoPopup = -1;
constexpr int kMouseOffset = -6;

// The platform's failure value of the menu routines that return a state.
constexpr int kNoSuchItem = -1;

int menuState(int id) {
  const MenuRecord& entry = ctrl_Menu[id];
  return w32Func(rtn::GetMenuState, {entry.parentMenu, entry.commandId, MF_BYCOMMAND});
}

// The menu bar the entry shows on has to be redrawn for a change to appear.
void redrawMenuBar(int id) {
  const int window = findParentWindow(id);
  if (window != 0 && ctrl_Handle_type[window] == kht_Window)
    w32Func(rtn::DrawMenuBar, {ctrl_Handle[window]});
}

int attachmentPoint(int owner) {
  if (owner == 0)
    return 0;
  const int family = ctrl_Family[owner];
  if (family == MENU || family == MENUITEM)
    return ctrl_Handle[owner];
  if (family == WINDOW)
    return ctrl_Menu[owner].menuBar;
  return 0;
}

void ensureMenuBar(int window) {
  if (ctrl_Menu[window].menuBar != 0)
    return;
  const int bar = w32Func(rtn::CreateMenu);
  if (bar == 0)
    warnErr(w32code::CreateMenu);
  ctrl_Menu[window].menuBar = bar;
  if (w32Func(rtn::SetMenu, {ctrl_Handle[window], bar}) == 0)
    warnErr(w32code::SetMenu);
}

}  // namespace

bool isMenuEntry(int id) {
  return ctrl_Family[id] == MENU || ctrl_Family[id] == MENUITEM;
}

void createMenu(int id, const std::string& caption, int owner) {
  const bool isMenu = ctrl_Type[id] == Menu;
  if (isMenu && owner != 0 && ctrl_Family[owner] == WINDOW)
    ensureMenuBar(owner);

  const int popupMenu = w32Func(rtn::CreatePopupMenu);
  if (popupMenu == 0)
    warnErr(w32code::CreatePopupMenu);
  ctrl_Handle[id] = popupMenu;
  ctrl_Handle_type[id] = kht_Menu;

  if (isMenu) {
    const int parentMenu = attachmentPoint(owner);
    std::string text = caption;
    int flags = MF_POPUP;
    int commandId = popupMenu;
    // "!" makes a command that is chosen like a menu item, straight from the parent menu.
    if (const std::size_t bang = text.find('!'); bang != std::string::npos) {
      text.erase(bang, 1);
      flags = MF_STRING;
      commandId = id;
    }
    ctrl_Menu[id] = {0, parentMenu, flags, commandId, MENU};
    if (w32Func(rtn::AppendMenuA, {parentMenu, flags, commandId, text}) == 0)
      warnErr(w32code::AppendMenuInCreateMenu);
  }
  vRecent.menu = id;
}

void createMenuItem(int id, const std::string& caption, int owner, std::uint32_t flags) {
  const int menu = ctrl_Handle[owner];
  ctrl_Handle[id] = menu;
  ctrl_Handle_type[id] = ctrl_Handle_type[owner];
  const bool separator = caption.empty() || caption == "-";
  const int itemFlags = separator ? MF_SEPARATOR : static_cast<int>(MF_STRING | flags);
  ctrl_Menu[id] = {0, menu, itemFlags, id, MENUITEM};
  if (w32Func(rtn::AppendMenuA, {menu, itemFlags, id, caption}) == 0)
    warnErr(w32code::AppendMenuInCreateMenuItem);
}

// Only the text changes: rebuilding the entry would lose its check mark and greying, and a
// drop-down its submenu.
void setMenuText(int id, const std::string& text) {
  const MenuRecord& entry = ctrl_Menu[id];
  std::string value = text;
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = value.data();
  w32Func(rtn::SetMenuItemInfoA, {entry.parentMenu, entry.commandId, 0, &info});
  redrawMenuBar(id);
}

std::string getMenuText(int id) {
  const MenuRecord& entry = ctrl_Menu[id];
  int item = entry.commandId;
  int length = w32Func(rtn::GetMenuStringA, {entry.parentMenu, item, 0, 0, MF_BYCOMMAND}) + 1;
  if (length <= 1) {
    item = id;
    length = w32Func(rtn::GetMenuStringA, {entry.parentMenu, item, 0, 0, MF_BYCOMMAND}) + 1;
  }
  if (length <= 1)
    return "";
  std::vector<char> buffer(length);
  const int copied =
      w32Func(rtn::GetMenuStringA, {entry.parentMenu, item, static_cast<void*>(buffer.data()), length, MF_BYCOMMAND});
  return std::string(buffer.data(), copied > 0 && copied < length ? copied : 0);
}

void checkMenuItem(int id, bool checked) {
  const MenuRecord& entry = ctrl_Menu[id];
  const int result = w32Func(rtn::CheckMenuItem,
                             {entry.parentMenu, entry.commandId, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)});
  if (result == kNoSuchItem)
    warnErr(w32code::CheckMenuItem);
  if (ctrl_Family[id] == MENU)
    redrawMenuBar(id);
}

bool isMenuChecked(int id) {
  const int state = menuState(id);
  return state != kNoSuchItem && (state & MF_CHECKED) != 0;
}

void enableMenuItem(int id, bool enable) {
  const MenuRecord& entry = ctrl_Menu[id];
  const int result = w32Func(rtn::EnableMenuItem, {entry.parentMenu, entry.commandId,
                                                   MF_BYCOMMAND | (enable ? MF_ENABLED : MF_DISABLED | MF_GRAYED)});
  if (result == kNoSuchItem)
    warnErr(w32code::EnableMenuItem);
  if (ctrl_Family[id] == MENU)
    redrawMenuBar(id);
}

// A greyed entry cannot be chosen either, whether or not it was also marked disabled.
bool isMenuEnabled(int id) {
  const int state = menuState(id);
  return state != kNoSuchItem && (state & (MF_DISABLED | MF_GRAYED)) == 0;
}

std::array<PopupEntry, 4> attachPopup(int id, const PopupList& menus) {
  std::array<PopupEntry, 4> previous = {kNoPopup, kNoPopup, kNoPopup, kNoPopup};
  if (!validId(id))
    return previous;
  std::array<Offset, 4>& offsets = vPopupOffsets[id];
  for (int place = 0; place < 4; ++place) {
    previous[place] = PopupEntry(ctrl_Popup[id][place]);
    if (ctrl_Popup[id][place] != kNoPopup && offsets[place])
      previous[place].offset = offsets[place];
  }
  for (std::size_t place = 0; place < menus.entries.size() && place < 4; ++place) {
    const PopupEntry& entry = menus.entries[place];
    if (entry.menu == kNoPopup)
      continue;
    ctrl_Popup[id][place] = entry.menu == 0 ? kNoPopup : entry.menu;
    offsets[place] = entry.offset;
  }
  setHandler(id, w32HMouse, {kPrependHandlers, checkPopup});
  return previous;
}

void checkPopup(int self, int, const EventParams& params) {
  // {message, x, y, key masks, wheel steps}; masks: 1 Shift, 2 Control.
  if (params.size() < 4 || params[0] != WM_RBUTTONDOWN || !validId(self))
    return;
  const bool shift = (params[3] & 1) != 0;
  const bool control = (params[3] & 2) != 0;
  const int place = shift && control ? 3 : shift ? 1 : control ? 2 : 0;
  const int menu = ctrl_Popup[self][place];
  if (menu == kNoPopup)
    return;
  const Offset& offset = vPopupOffsets[self][place];
  const int dx = offset ? (*offset)[0] : kMouseOffset;
  const int dy = offset ? (*offset)[1] : kMouseOffset;
  popup(menu, self, params[1] + dx, params[2] + dy);
}

void popup(int menu, int relativeTo, int x, int y) {
  if (!validId(menu))
    return;
  const int window = findParentWindow(menu);
  if (!validId(window))
    return;
  const int windowHandle = ctrl_Handle[window];
  POINT point = {x, y};
  if (relativeTo != 0 && relativeTo != window && validId(relativeTo))
    w32Func(rtn::MapWindowPoints, {getHandle(relativeTo), windowHandle, &point, 1});
  w32Func(rtn::ClientToScreen, {windowHandle, &point});
  w32Func(rtn::TrackPopupMenu, {ctrl_Handle[menu], 0, point.x, point.y, 0, windowHandle, 0});
}
