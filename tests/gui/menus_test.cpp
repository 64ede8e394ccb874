// Menus: menu bars and their menus, items and separators, texts, check marks and enabling,
// attached pop-ups and the right-click pop-up.
#include "gui/menus.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/creation.h"
#include "gui/handlers.h"
#include "gui/registry.h"
#include "tests/gui/controls_fixture.h"

namespace {

HMENU menuOf(int id) {
  return reinterpret_cast<HMENU>(ctrl_Handle[id]);
}

std::string entryText(HMENU menu, UINT item, UINT how) {
  char text[64] = {};
  GetMenuStringA(menu, item, text, sizeof text, how);
  return text;
}

UINT stateAt(HMENU menu, int position) {
  return GetMenuState(menu, position, MF_BYPOSITION);
}

// Popup menus run a modal loop of their own: a thread timer notes where the menu showed and
// ends it, so that the test goes on.
std::vector<RECT> vShownMenus;

void CALLBACK noteMenuAndEnd(HWND, UINT, UINT_PTR, DWORD) {
  if (const HWND shownMenu = ownWindowOfClass("#32768"); shownMenu && IsWindowVisible(shownMenu)) {
    RECT place = {};
    GetWindowRect(shownMenu, &place);
    vShownMenus.push_back(place);
  }
  EndMenu();
}

}  // namespace

TEST(Menus, TheFirstMenuOfAWindowMakesItsMenuBarAndTheNextOnesJoinIt) {
  const int window = create(Window, "menus", 0, 0, 0, 400, 300, 0);
  EXPECT_EQ(GetMenu(hwndOf(window)), nullptr);
  const int file = create(Menu, "&File", window, 0, 0, 0, 0, 0);
  const HMENU bar = GetMenu(hwndOf(window));
  ASSERT_NE(bar, nullptr);
  const int tools = create(Menu, "&Tools", window, 0, 0, 0, 0, 0);
  EXPECT_EQ(GetMenu(hwndOf(window)), bar);
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(entryText(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(GetSubMenu(bar, 0), menuOf(file));
  EXPECT_EQ(GetSubMenu(bar, 1), menuOf(tools));

  // "!" makes a command on the bar itself, chosen by its control id.
  const int go = create(Menu, "&Go!", window, 0, 0, 0, 0, 0);
  EXPECT_EQ(GetMenuItemID(bar, 2), static_cast<UINT>(go));
  EXPECT_EQ(GetSubMenu(bar, 2), nullptr);
  EXPECT_EQ(entryText(bar, 2, MF_BYPOSITION), "&Go");

  const int sub = create(Menu, "&Recent", file, 0, 0, 0, 0, 0);
  EXPECT_EQ(GetSubMenu(menuOf(file), 0), menuOf(sub));
}

TEST(Menus, ItemsCarryTheirIdAndWithoutOwnerGoToTheLatestMenu) {
  const int window = create(Window, "items", 0, 0, 0, 400, 300, 0);
  const int file = create(Menu, "&File", window, 0, 0, 0, 0, 0);
  const int reload = create(MenuItem, "&Reload", file, 0, 0, 0, 0, 0);
  const int tools = create(Menu, "&Tools", window, 0, 0, 0, 0, 0);
  const int manage = create(MenuItem, "&Manage", 0, 0, 0, 0, 0, 0);
  const int greyed = create(MenuItem, "Greyed", 0, 0, 0, 0, 0, MF_GRAYED);
  EXPECT_EQ(GetMenuItemID(menuOf(file), 0), static_cast<UINT>(reload));
  EXPECT_EQ(GetMenuItemCount(menuOf(file)), 1);
  EXPECT_EQ(GetMenuItemID(menuOf(tools), 0), static_cast<UINT>(manage));
  EXPECT_EQ(ctrl_Parent[manage], tools);
  EXPECT_TRUE(stateAt(menuOf(tools), 1) & MF_GRAYED);
  EXPECT_FALSE(isEnabled(greyed));
  EXPECT_TRUE(isEnabled(manage));
}

TEST(Menus, DashItemsAndSpacersAreSeparators) {
  const int window = create(Window, "separators", 0, 0, 0, 400, 300, 0);
  const int file = create(Menu, "&File", window, 0, 0, 0, 0, 0);
  create(MenuItem, "&Reload", file, 0, 0, 0, 0, 0);
  create(MenuItem, "-", file, 0, 0, 0, 0, 0);
  create(MenuSpacer, "ignored", file, 0, 0, 0, 0, 0);
  create(MenuItem, "", file, 0, 0, 0, 0, 0);
  EXPECT_FALSE(stateAt(menuOf(file), 0) & MF_SEPARATOR);
  for (int position = 1; position <= 3; ++position)
    EXPECT_TRUE(stateAt(menuOf(file), position) & MF_SEPARATOR) << position;
}

TEST(Menus, TextChangesInPlaceKeepingTheCheckMarkAndTheSubmenu) {
  const int window = create(Window, "texts", 0, 0, 0, 400, 300, 0);
  const int file = create(Menu, "&File", window, 0, 0, 0, 0, 0);
  const int save = create(MenuItem, "&Save", file, 0, 0, 0, 0, 0);
  create(MenuItem, "E&xit", file, 0, 0, 0, 0, 0);
  setCheck(save, 1);
  setText(save, "&Save all");
  EXPECT_EQ(entryText(menuOf(file), save, MF_BYCOMMAND), "&Save all");
  EXPECT_EQ(GetMenuItemID(menuOf(file), 0), static_cast<UINT>(save));
  EXPECT_EQ(getCaption(save), "&Save all");
  EXPECT_TRUE(stateAt(menuOf(file), 0) & MF_CHECKED);
  EXPECT_EQ(getData(save), "1");
  EXPECT_EQ(getText(save), "&Save all");

  const HMENU bar = GetMenu(hwndOf(window));
  setText(file, "&Files");
  EXPECT_EQ(entryText(bar, 0, MF_BYPOSITION), "&Files");
  EXPECT_EQ(getCaption(file), "&Files");
  EXPECT_EQ(GetSubMenu(bar, 0), menuOf(file));
}

TEST(Menus, CheckMarksAndEnablingReachTheMenu) {
  const int window = create(Window, "states", 0, 0, 0, 400, 300, 0);
  const int options = create(Menu, "&Options", window, 0, 0, 0, 0, 0);
  const int wrap = create(MenuItem, "&Wrap", options, 0, 0, 0, 0, 0);
  setCheck(wrap, 1);
  EXPECT_TRUE(stateAt(menuOf(options), 0) & MF_CHECKED);
  EXPECT_TRUE(isChecked(wrap));
  setCheck(wrap, 0);
  EXPECT_FALSE(stateAt(menuOf(options), 0) & MF_CHECKED);
  EXPECT_EQ(getData(wrap), "0");

  setEnable(wrap, false);
  EXPECT_TRUE(stateAt(menuOf(options), 0) & MF_GRAYED);
  EXPECT_FALSE(isEnabled(wrap));
  setEnable(options, false);
  EXPECT_TRUE(stateAt(GetMenu(hwndOf(window)), 0) & MF_GRAYED);
  setEnable({wrap, options}, true);
  EXPECT_TRUE(isEnabled(wrap) && isEnabled(options));
}

TEST(Menus, AttachPopupReturnsTheFormerEntriesAndZeroClears) {
  const int window = create(Window, "popups", 0, 0, 0, 400, 300, 0);
  const int plain = create(Popup, "", window, 0, 0, 0, 0, 0);
  const int shifted = create(Popup, "", window, 0, 0, 0, 0, 0);
  std::array<PopupEntry, 4> previous = attachPopup(window, {plain, {shifted, 2, 3}});
  for (const PopupEntry& entry : previous)
    EXPECT_EQ(entry.menu, -1);
  EXPECT_EQ(getHandlerList(window, w32HMouse), std::vector<Handler>{checkPopup});

  previous = attachPopup(window, {0});
  EXPECT_EQ(previous[0].menu, plain);
  EXPECT_EQ(previous[1].menu, shifted);
  EXPECT_EQ(previous[1].offset, (std::array<int, 2>{2, 3}));
  EXPECT_EQ(ctrl_Popup[window], (std::array<int, 4>{-1, shifted, -1, -1}));
  EXPECT_EQ(getHandlerList(window, w32HMouse).size(), 1u);
}

TEST(Menus, RightClickShowsThePopupForTheKeysHeldAtTheMousePlusItsOffset) {
  const int window = shownWindow(400, 300);
  const int shifted = create(Popup, "", window, 0, 0, 0, 0, 0);
  create(MenuItem, "&Copy", 0, 0, 0, 0, 0, 0);
  attachPopup(window, {-1, {shifted, 2, 3}});

  vShownMenus.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, noteMenuAndEnd);
  // No plain context menu: nothing shows, and the call returns at once.
  invokeHandler(window, w32HMouse, {WM_RBUTTONDOWN, 40, 50, 0, 0});
  invokeHandler(window, w32HMouse, {WM_RBUTTONDOWN, 40, 50, 1, 0});
  KillTimer(nullptr, timer);

  ASSERT_EQ(vShownMenus.size(), 1u);
  POINT expected = {42, 53};
  ClientToScreen(hwndOf(window), &expected);
  EXPECT_EQ(vShownMenus[0].left, expected.x);
  EXPECT_EQ(vShownMenus[0].top, expected.y);
}
