// The control registry: new slots and class defaults, owners and destroyed owners, handles,
// standard names, children and enclosing windows, and the order of destruction.
#include "gui/registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gui/destroy.h"
#include "gui/gdi_objects.h"
#include "gui/handlers.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/gui_framework/framework_fixture.h"

namespace {

std::vector<int> vLog;

void logDestroyHandler(int self, int, const EventParams&) {
  vLog.push_back(-self);
}

void logDestroyMessage(int self, int, const EventParams& params) {
  if (params[0] == WM_DESTROY)
    vLog.push_back(self);
}

// Stands in for a window's close handling while it is being destroyed: the close request is
// swallowed, so the destruction order is the registry's own.
MsgResult swallowClose(int, int, int, int, int, int) {
  return {kMainMsg, {}, {}};
}

MsgResult refuseClose(int id, int, int, int, int, int) {
  ctrl_Destroyed[id] = kSlotLive;
  return {kMainMsg, {}, {}};
}

}  // namespace

TEST(Registry, NewSlotTakesItsClassDefaultsAndJoinsItsOwner) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int edit = NewControl(EditText, window);
  const int multiLine = NewControl(MleText, window);
  EXPECT_EQ(ctrl_Group[window], (std::vector<int>{edit, multiLine}));
  EXPECT_EQ(getUserProperty(edit, "AutoSelect"), 1);
  EXPECT_EQ(getUserProperty(multiLine, "AutoSelect"), std::nullopt);
  EXPECT_EQ(ctrl_TabKey_Used[edit], 1);
  EXPECT_EQ(ctrl_TabKey_Used[multiLine], 0);
  EXPECT_EQ(ctrl_Cursor[edit], std::vector<int>{w32Func(rtn::LoadCursorA, {0, 32513})});
  EXPECT_EQ(ctrl_Bg_Color[edit], w32WinDefColor);
  EXPECT_EQ(ctrl_Family[edit], EDIT);
  EXPECT_EQ(ctrl_Closed[edit], kNeverOpened);
  EXPECT_EQ(ctrl_Font[edit], FontDefaults);
}

TEST(Registry, ClassRowsCarryTheStylesOfTheApplicationsControls) {
  EXPECT_EQ(classStyle[Window], 0x00CF0000u);
  EXPECT_EQ(classStyleEx[Window], 0x10u);
  EXPECT_EQ(classStyle[PushButton], 0x54010000u);
  EXPECT_EQ(classStyle[CheckBox], 0x54014003u);
  EXPECT_EQ(classStyle[Group], 0x54010007u);
  EXPECT_EQ(classStyle[EditText], 0x54810080u);
  EXPECT_EQ(classStyleEx[EditText], 0x210u);
  EXPECT_EQ(classStyle[LText], 0x54000100u);
  EXPECT_EQ(classStyle[Icon], 0x54000103u);
  EXPECT_EQ(classStyle[StatusBar], 0x54000003u);
  EXPECT_EQ(classStyle[TabControl], 0x56010000u);
  EXPECT_EQ(classAttr[StatusBar], w32Clickable | w32OwnerId | w32Statusbar);
  EXPECT_EQ(classAttr[TabItem], w32Clickable | w32Virtual);
  EXPECT_EQ(classType[TabItem], kNoFamily);
  EXPECT_EQ(classBGColor[PushButton], w32BGTransparent);
}

TEST(Registry, ControlUnderADestroyedOwnerIsInvalid) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int group = makeControl(Group, window, 5, 5, 150, 80);
  const int button = makeControl(PushButton, group, 10, 20, 60, 20);
  EXPECT_TRUE(validId(button));

  ctrl_Destroyed[window] = kSlotFree;
  EXPECT_EQ(ctrl_Destroyed[button], kSlotLive);
  EXPECT_FALSE(validId(group));
  EXPECT_FALSE(validId(button));
  ctrl_Destroyed[window] = kSlotLive;
  EXPECT_TRUE(validId(button));

  EXPECT_FALSE(validId(0));
  EXPECT_FALSE(validId(-3));
  EXPECT_FALSE(validId(controlCount() + 1));
}

TEST(Registry, GetHandleGivesATabItemItsTabControlsWindow) {
  DialogAnswerer answerer(kWarningTitle, IDYES);
  const int window = makeWindow(0, 0, 0, 300, 200);
  const int tabs = makeControl(TabControl, window, 0, 0, 280, 180);
  const int page = makeTabItem(tabs);
  EXPECT_EQ(getHandle(page), ctrl_Handle[tabs]);
  EXPECT_EQ(getHandle(0), 0);
  EXPECT_EQ(getHandle(Screen), 0);  // no native window of its own
  EXPECT_TRUE(answerer.finish().empty());
}

TEST(Registry, GetHandleWarnsOfEachKindOfBadId) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int other = makeWindow(0, 0, 0, 200, 100);
  const int nullHandle = NewControl(PushButton, 0);
  ctrl_Handle[nullHandle] = 0;
  const int gone = NewControl(PushButton, 0);
  destroy(gone);

  DialogAnswerer answerer(kWarningTitle, IDYES);
  EXPECT_EQ(getHandle(controlCount() + 7), 0);
  EXPECT_EQ(getHandle(gone), 0);
  EXPECT_EQ(getHandle(nullHandle), 0);
  setId(ctrl_Handle[window], other);
  EXPECT_EQ(getHandle(window), ctrl_Handle[window]);
  setId(ctrl_Handle[window], window);
  const std::vector<SeenBox> boxes = answerer.finish();

  const std::vector<std::string> expected = {
      "Error code 495\ngetHandle failed.", "Error code 497\ngetHandle: Object is destroyed.",
      "Error code 496\ngetHandle returned Null handle.",
      "Error code 499\ngetHandle:The stored hWnd for id " + std::to_string(window) + " is now attached to id " +
          std::to_string(other)};
  ASSERT_EQ(boxes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_TRUE(startsWith(boxes[i].text, expected[i] + "\n")) << boxes[i].describe();
}

TEST(Registry, StandardNamesAndLookups) {
  EXPECT_EQ(makeStandardName(" 2nd "), "nd");
  EXPECT_EQ(makeStandardName("  &Save now! "), "Savenow");
  EXPECT_EQ(makeStandardName("_12a_b"), "a_b");
  EXPECT_EQ(makeStandardName("   "), "");

  const int first = makeWindow(0, 0, 0, 200, 100);
  const int second = makeWindow(0, 0, 0, 200, 100);
  const int okFirst = makeControl(PushButton, first, 5, 5, 50, 20);
  const int group = makeControl(Group, second, 5, 5, 150, 80);
  const int okSecond = makeControl(PushButton, group, 10, 20, 50, 20);
  setIdName(okFirst, " OK ");
  setIdName(okSecond, "&OK");
  EXPECT_EQ(getIdName(okSecond), "OK");
  EXPECT_EQ(getNameId("OK"), std::min(okFirst, okSecond));
  EXPECT_EQ(getNameId("OK", second), okSecond);
  EXPECT_EQ(getNameId("OK", first), okFirst);
  EXPECT_EQ(getNameId("Cancel", second), 0);
  EXPECT_EQ(getNameId(""), 0);

  setIdName(second, "Settings Window");
  EXPECT_EQ(getNameId("OK", std::string("SettingsWindow")), okSecond);
  EXPECT_EQ(sendMessage(std::string("SettingsWindow"), WM_SETTEXT, 0, "Renamed"), TRUE);
  EXPECT_EQ(windowText(ctrl_Handle[second]), "Renamed");
}

TEST(Registry, ChangeClassDefaultsReturnsTheOldDefaultsAndIgnoresBadClasses) {
  const auto styles = classStyle;
  const auto extended = classStyleEx;
  const auto windowClassStyle = vWindowClassStyle;
  EXPECT_TRUE(changeClassDefaults(0, {{CCflags, 5u}}).empty());
  EXPECT_TRUE(changeClassDefaults(NumClasses + 1, {{CCflags, 5u}}).empty());
  EXPECT_EQ(classStyle, styles);
  EXPECT_EQ(classStyleEx, extended);
  EXPECT_EQ(vWindowClassStyle, windowClassStyle);

  using Flags = std::vector<std::uint32_t>;
  const std::vector<ClassSetting> previous =
      changeClassDefaults(Window, {{CCflags, Flags{WS_POPUP, WS_BORDER}},
                                   {CCexflags, 0u},
                                   {CCwinstyle, std::uint32_t{CS_DBLCLKS | CS_HREDRAW}},
                                   {9, 1u}});
  ASSERT_EQ(previous.size(), 3u);
  EXPECT_EQ(previous[0].key, CCflags);
  EXPECT_EQ(std::get<Flags>(previous[0].value), (Flags{0x10000, 0x20000, 0x40000, 0x80000, 0x400000, 0x800000}));
  EXPECT_EQ(std::get<Flags>(previous[1].value), Flags{WS_EX_ACCEPTFILES});
  EXPECT_EQ(std::get<Flags>(previous[2].value), Flags{CS_DBLCLKS});
  EXPECT_EQ(classStyle[Window], static_cast<std::uint32_t>(WS_POPUP | WS_BORDER));
  EXPECT_EQ(classStyleEx[Window], 0u);
  EXPECT_EQ(vWindowClassStyle, (Flags{CS_HREDRAW, CS_DBLCLKS}));

  changeClassDefaults(Window, previous);
  EXPECT_EQ(classStyle, styles);
  EXPECT_EQ(classStyleEx, extended);
  EXPECT_EQ(vWindowClassStyle, windowClassStyle);
}

TEST(Registry, ChildrenAndEnclosingWindows) {
  const int window = makeWindow(0, 0, 0, 400, 300);
  const int inner = makeWindow(window, 0, 0, 200, 100, WS_CHILD | WS_VISIBLE);
  const int button = makeControl(PushButton, inner, 5, 5, 50, 20);
  const int tabs = makeControl(TabControl, window, 0, 120, 300, 150);
  const int firstPage = makeTabItem(tabs);
  const int secondPage = makeTabItem(tabs);
  const int label = makeControl(LText, firstPage, 10, 30, 80, 20);

  const auto byId = [](std::vector<ChildEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const ChildEntry& a, const ChildEntry& b) { return a.id < b.id; });
    return entries;
  };
  EXPECT_EQ(findChildren(window), byId({{inner, Window}, {tabs, TabControl}}));
  EXPECT_EQ(findChildren(tabs), byId({{firstPage, TabItem}, {secondPage, TabItem}}));
  EXPECT_EQ(findChildren(firstPage), (std::vector<ChildEntry>{{label, LText}}));
  EXPECT_EQ(getParent(label), firstPage);

  EXPECT_EQ(findParentWindow(button), inner);
  EXPECT_EQ(findParentWindow(label), window);
  EXPECT_EQ(findParentWindow(window), window);
  EXPECT_TRUE(isTopLevelWindow(window));
  EXPECT_FALSE(isTopLevelWindow(inner));
  EXPECT_FALSE(isTopLevelWindow(button));

  const int previous = setMainWindow(window);
  EXPECT_EQ(getMainWindow(), window);
  EXPECT_EQ(setMainWindow(previous), window);
}

TEST(Registry, DestroyTakesChildrenBeforeParentsAndFreesTheirIds) {
  const int window = makeWindow(0, 0, 0, 400, 300);
  const int inner = makeWindow(window, 0, 0, 200, 100, WS_CHILD | WS_VISIBLE);
  const int button = makeControl(PushButton, inner, 5, 5, 50, 20);
  const int edit = makeControl(EditText, window, 5, 150, 100, 20);
  const int brush = w32Func(rtn::CreateSolidBrush, {0x00FF00});
  trackObject(brush, button, kLifeProgram, 0, OBJ_BRUSH);
  const int hWnd = ctrl_Handle[window];

  vLog.clear();
  setHandler(window, w32HDestroy, logDestroyHandler);
  registerNotification(button, kSubscribe, w32HClick, edit, 0);
  setHandler(Screen, w32HEvent, logDestroyMessage);
  {
    ScopedMessageHandler close(WM_CLOSE, swallowClose);
    destroy(window);
  }
  setHandler(Screen, w32HEvent, {kClearHandlers});

  // Siblings go from the highest id down, each with its own children first.
  const std::vector<int> order =
      edit > inner ? std::vector<int>{button, inner, edit, window} : std::vector<int>{edit, button, inner, window};
  std::vector<int> expected = {-window};
  expected.insert(expected.end(), order.begin(), order.end());
  EXPECT_EQ(vLog, expected);
  EXPECT_FALSE(isWindow(hWnd));
  EXPECT_EQ(w32Func(rtn::GetObjectType, {brush}), 0) << "the brush went with its owner";
  for (int id : order) {
    EXPECT_FALSE(validId(id));
    EXPECT_EQ(ctrl_Destroyed[id], kSlotFree);
  }
  for (auto id = order.rbegin(); id != order.rend(); ++id)
    EXPECT_EQ(NewControl(PushButton, 0), *id) << "most recently destroyed first";
  EXPECT_FALSE(hasListeners(window, w32HDestroy)) << "a reused id starts without handlers";
  EXPECT_FALSE(hasListeners(button, w32HClick)) << "and without subscribers";
}

TEST(Registry, RefusedCloseDestroysNothing) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int button = makeControl(PushButton, window, 5, 5, 50, 20);
  vLog.clear();
  setHandler(window, w32HDestroy, logDestroyHandler);
  {
    ScopedMessageHandler close(WM_CLOSE, refuseClose);
    destroy(window);
  }
  EXPECT_EQ(vLog, std::vector<int>{-window});
  EXPECT_TRUE(validId(window));
  EXPECT_TRUE(validId(button));
  EXPECT_TRUE(isWindow(ctrl_Handle[window]));
}
