// Control properties: texts, check states, numbers with formats, status-bar panels and tips,
// focus, tab items, visibility and enabling, colours and icons.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/control_looks.h"
#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/creation.h"
#include "gui/geometry.h"
#include "gui/handlers.h"
#include "gui/registry.h"
#include "gui/status_bar.h"
#include "tests/gui/controls_fixture.h"

namespace {

int checkState(int id) {
  return static_cast<int>(SendMessageA(hwndOf(id), BM_GETCHECK, 0, 0));
}

bool shown(int id) {
  return (styleOf(id) & WS_VISIBLE) != 0;
}

}  // namespace

TEST(Properties, CheckBoxTextsZeroOneTwoSetTheStateAndOthersTheLabel) {
  const int window = create(Window, "check", 0, 0, 0, 300, 200, 0);
  const int box = create(TriCheckBox, "Label", window, 10, 10, 100, 20, 0);
  setText(box, "1");
  EXPECT_EQ(checkState(box), BST_CHECKED);
  EXPECT_EQ(nativeText(box), "Label");
  setText(box, 2);
  EXPECT_EQ(checkState(box), BST_INDETERMINATE);
  setText(box, "10");
  EXPECT_EQ(nativeText(box), "10");
  EXPECT_EQ(checkState(box), BST_INDETERMINATE);
  setText(box, "0");
  EXPECT_EQ(checkState(box), BST_UNCHECKED);
}

TEST(Properties, NumbersShowAsByPercentGAndFormatsWithTheirArguments) {
  const int window = create(Window, "texts", 0, 0, 0, 300, 200, 0);
  const int label = create(LText, "", window, 10, 10, 100, 20, 0);
  setText(label, 7);
  EXPECT_EQ(nativeText(label), "7");
  setText(label, 2.5);
  EXPECT_EQ(nativeText(label), "2.5");
  setText(label, {"%d", {45}});
  EXPECT_EQ(nativeText(label), "45");
  setText(label, {"%s has %04d", {"Ann", 12}});
  EXPECT_EQ(nativeText(label), "Ann has 0012");

  const int lines = create(MleText, "", window, 10, 40, 100, 60, 0);
  setText(lines, "a\nb\r\nc");
  EXPECT_EQ(nativeText(lines), "a\r\nb\r\nc");
}

TEST(Properties, GetTextGivesALabelBeforeAStateAndAnEditFieldsContents) {
  const int window = create(Window, "reading", 0, 0, 0, 300, 200, 0);
  const int labelled = create(CheckBox, "Allow New Users", window, 10, 10, 150, 20, 0);
  const int bare = create(CheckBox, "", window, 10, 40, 150, 20, 0);
  setCheck({labelled, bare}, 1);
  EXPECT_EQ(getText(labelled), "Allow New Users");
  EXPECT_EQ(getData(labelled), "1");
  EXPECT_TRUE(isChecked(labelled));
  EXPECT_EQ(getText(bare), "1");

  const int edit = create(EditText, "", window, 10, 70, 100, 20, 0);
  EXPECT_EQ(getText(edit), "");
  EXPECT_EQ(getCaption(edit), "");
  SetWindowTextA(hwndOf(edit), "typed");
  EXPECT_EQ(getText(edit), "typed");
}

TEST(Properties, StatusBarPanelsAreWrittenAndReadByNumber) {
  const int window = shownWindow(500, 300);
  const int statusBar = createEx(StatusBar, "", window, 0, 0, 0, 0, 0, 0);
  setSubFields(statusBar, {100, 200, -1});
  setText({statusBar, 2}, "second");
  setText(statusBar, "first");
  EXPECT_EQ(panelText(statusBar, 2), "second");
  EXPECT_EQ(panelText(statusBar, 1), "first");
  EXPECT_EQ(getText({statusBar, 2}), "second");
  EXPECT_EQ(getText({statusBar, 9}), "first");  // out of range: the first panel
}

namespace {

// The panel texts and tip texts that reach status bars of this thread, through whatever
// procedure.
int vPanelTextsSent = 0;
int vTipTextsSent = 0;
LRESULT CALLBACK countPanelTexts(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const UINT message = reinterpret_cast<const CWPSTRUCT*>(lParam)->message;
    vPanelTextsSent += message == SB_SETTEXTA;
    vTipTextsSent += message == SB_SETTIPTEXTA;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void watchEveryMessage(int, int, const EventParams&) {}

}  // namespace

TEST(Properties, APanelIsNotSentTheTextItShowsUnlessSomethingElseChangedIt) {
  const int window = shownWindow(500, 300);
  const int statusBar = createEx(StatusBar, "", window, 0, 0, 0, 0, 0, 0);
  setSubFields(statusBar, {100, 200, -1});
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, countPanelTexts, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  vPanelTextsSent = 0;
  auto sentFor = [statusBar](int panel, const char* text) {
    const int before = vPanelTextsSent;
    setText({statusBar, panel}, text);
    EXPECT_EQ(panelText(statusBar, panel), text);
    return vPanelTextsSent - before;
  };

  EXPECT_EQ(sentFor(1, "User: ann"), 1);
  EXPECT_EQ(sentFor(3, "Time: 10:00"), 1);
  EXPECT_EQ(sentFor(1, "User: ann"), 0) << "the other panel's change leaves this one known";
  EXPECT_EQ(sentFor(3, "Time: 10 00"), 1);
  EXPECT_EQ(sentFor(3, "Time: 10 00"), 0);

  // Changes that did not come through setText, each to the panel or the whole bar.
  SendMessageA(hwndOf(statusBar), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("other"));
  EXPECT_EQ(sentFor(1, "User: ann"), 1);
  SendMessageA(hwndOf(statusBar), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other"));
  EXPECT_EQ(sentFor(1, "User: ann"), 1);
  EXPECT_EQ(sentFor(3, "Time: 10 00"), 0) << "a change of the first panel only";
  setSubFields(statusBar, {100, 200, -1});
  EXPECT_EQ(sentFor(1, "User: ann"), 1);
  EXPECT_EQ(sentFor(3, "Time: 10 00"), 1);

  // A handler of every message of the status bar sees every text.
  setHandler(statusBar, w32HAfterEvent, watchEveryMessage);
  EXPECT_EQ(sentFor(1, "User: ann"), 1);
  setHandler(statusBar, w32HAfterEvent, {kClearHandlers});
  EXPECT_EQ(sentFor(1, "User: ann"), 0);
  UnhookWindowsHookEx(hook);
}

TEST(Properties, AHiddenStatusBarGetsItsLatestTextsWhenItIsReadOrShown) {
  const int window = create(Window, "hidden", 0, 0, 0, 500, 300, 0);
  const int statusBar = createEx(StatusBar, "", window, 0, 0, 0, 0, 0, 0);
  setSubFields(statusBar, {100, 200, -1});
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, countPanelTexts, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  vPanelTextsSent = 0;
  setText({statusBar, 1}, "User: ann");
  setText({statusBar, 3}, "Time: 10:00");
  setText({statusBar, 3}, "Time: 10 00");
  EXPECT_EQ(vPanelTextsSent, 0) << "nothing to repaint while the window is hidden";
  EXPECT_EQ(getText({statusBar, 3}), "Time: 10 00");
  EXPECT_EQ(panelText(statusBar, 1), "User: ann");
  EXPECT_EQ(vPanelTextsSent, 2) << "the latest text of each panel";

  // A text from elsewhere replaces the one held for its panel.
  setText({statusBar, 1}, "User: bob");
  setText({statusBar, 3}, "Time: 10:01");
  SendMessageA(hwndOf(statusBar), SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("other"));
  ShowWindow(hwndOf(window), SW_SHOWNORMAL);
  EXPECT_EQ(panelText(statusBar, 1), "User: bob");
  EXPECT_EQ(panelText(statusBar, 3), "other");
  EXPECT_EQ(vPanelTextsSent, 4);
  UnhookWindowsHookEx(hook);
}

TEST(Properties, OnlyAStatusBarWithTooltipsOrAListenerIsSentTipTexts) {
  const int window = shownWindow(500, 300);
  const int tipless = createEx(StatusBar, "", window, 0, 0, 0, 0, 0, 0);
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, countPanelTexts, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  vTipTextsSent = 0;
  setText(tipless, "no tooltip window");
  EXPECT_EQ(panelText(tipless, 1), "no tooltip window");
  EXPECT_EQ(vTipTextsSent, 0);
  setHandler(tipless, w32HEvent, watchEveryMessage);
  setText(tipless, "watched");
  EXPECT_EQ(vTipTextsSent, 1);
  UnhookWindowsHookEx(hook);

  const int tipped = createEx(StatusBar, "", window, 0, 0, 0, 0, SBT_TOOLTIPS, 0);
  setSubFields(tipped, {100, -1});
  setText(tipped, "shown as a tip too");
  char tip[64] = "";
  SendMessageA(hwndOf(tipped), SB_GETTIPTEXTA, MAKEWPARAM(0, sizeof tip), reinterpret_cast<LPARAM>(tip));
  EXPECT_STREQ(tip, "shown as a tip too");
}

TEST(Properties, SubFieldsAreRightEdgesAgainstTheOwnersWidth) {
  const int window = create(Window, "panels", 0, 0, 0, 500, 300, 0);
  ASSERT_EQ(getCtlSize(window).width, 500);
  const int statusBar = createEx(StatusBar, "", window, 0, 0, 0, 0, 0, 0);
  setSubFields(statusBar, {100, 200, -1});
  EXPECT_EQ(panelEdges(statusBar), (std::vector<int>{100, 200, -1}));
  setSubFields(statusBar, {0.5, 0});
  EXPECT_EQ(panelEdges(statusBar), (std::vector<int>{250, -1}));
  // A share, like a panel width, follows the panel before it.
  setSubFields(statusBar, {100, 0.25, PanelWidth{20}, -1});
  EXPECT_EQ(panelEdges(statusBar), (std::vector<int>{100, 225, 245, -1}));
  // Counted back from the width, and nothing after the panel that reaches the end.
  setSubFields(statusBar, {-100, -0.5, 300});
  EXPECT_EQ(panelEdges(statusBar), (std::vector<int>{400, -1}));
  setSubFields(statusBar, {});
  EXPECT_EQ(panelEdges(statusBar), (std::vector<int>{400, -1}));
}

TEST(Properties, FocusSkipsHiddenControlsAndSwitchesTabPages) {
  const int window = shownWindow(400, 300);
  const int edit = create(EditText, "", window, 10, 10, 100, 20, 0);
  const int hidden = create(EditText, "", window, 10, 40, 100, 20, 0);
  setVisible(hidden, false);
  setFocus(edit);
  setFocus(hidden);
  EXPECT_EQ(GetFocus(), hwndOf(edit));
  EXPECT_EQ(focus_current, edit);
  EXPECT_FALSE(isVisible(hidden));

  const int tabs = create(TabControl, "", window, 10, 70, 300, 200, 0);
  const int first = create(TabItem, "first", tabs, 0, 0, 0, 0, 0);
  const int onFirst = create(PushButton, "one", first, 10, 30, 60, 20, 0);
  const int second = create(TabItem, "second", tabs, 0, 0, 0, 0, 0);
  const int onSecond = create(PushButton, "two", second, 10, 30, 60, 20, 0);
  // Creating a tab item selects it, which hides the pages of the others.
  EXPECT_EQ(SendMessageA(hwndOf(tabs), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_FALSE(shown(onFirst));

  setFocus(first);
  EXPECT_EQ(SendMessageA(hwndOf(tabs), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(shown(onFirst));
  EXPECT_FALSE(shown(onSecond));
  EXPECT_EQ(ctrl_Current_focus[tabs], first);
}

TEST(Properties, TabItemTextsChangeInTheirTabControl) {
  const int window = create(Window, "tab texts", 0, 0, 0, 300, 200, 0);
  const int tabs = create(TabControl, "", window, 10, 10, 250, 150, 0);
  create(TabItem, "one", tabs, 0, 0, 0, 0, 0);
  const int second = create(TabItem, "two", tabs, 0, 0, 0, 0, 0);
  setText(second, "&Second");
  char text[32] = {};
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(hwndOf(tabs), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "&Second");
}

TEST(Properties, VisibilityAndEnablingReachThePlatform) {
  const int window = create(Window, "states", 0, 0, 0, 300, 200, 0);
  const int a = create(PushButton, "a", window, 10, 10, 50, 20, 0);
  const int b = create(PushButton, "b", window, 10, 40, 50, 20, 0);
  setVisible({a, b}, false);
  EXPECT_FALSE(shown(a) || shown(b));
  setVisible(a, true);
  EXPECT_TRUE(shown(a));

  setEnable({a, b}, false);
  EXPECT_FALSE(IsWindowEnabled(hwndOf(a)) || IsWindowEnabled(hwndOf(b)));
  EXPECT_FALSE(isEnabled(a));
  setEnable(b, true);
  EXPECT_TRUE(IsWindowEnabled(hwndOf(b)));
  EXPECT_TRUE(isEnabled(b));
  EXPECT_FALSE(isEnabled(999));
  EXPECT_FALSE(isVisible(999));
}

TEST(Properties, BackgroundColourBecomesTheWindowClassBrush) {
  const int window = create(Window, "colour", 0, 0, 0, 300, 200, 0);
  setWindowBackColor(window, rgb(10, 20, 30));
  const HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongA(hwndOf(window), GCL_HBRBACKGROUND));
  EXPECT_EQ(reinterpret_cast<int>(brush), ctrl_Bg_Brush[window]);
  LOGBRUSH description = {};
  ASSERT_EQ(GetObjectA(brush, sizeof description, &description), static_cast<int>(sizeof description));
  EXPECT_EQ(description.lbColor, RGB(10, 20, 30));

  // A marker is not a colour: the brush stays as it was.
  setWindowBackColor(window, w32WinDefColor);
  EXPECT_EQ(ctrl_Bg_Brush[window], reinterpret_cast<int>(brush));
  EXPECT_EQ(ctrl_Bg_Color[window], w32WinDefColor);
}

TEST(Properties, IconsGoToWindowsAndIconLabels) {
  const int window = create(Window, "icon", 0, 0, 0, 300, 200, 0);
  const int label = create(Icon, "", window, 10, 10, 32, 32, 0);
  const HICON question = LoadIconA(nullptr, IDI_QUESTION);
  setIcon(label, 32514);  // the system's question icon, by number
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hwndOf(label), STM_GETICON, 0, 0)), question);
  setIcon(window, IconHandle{reinterpret_cast<int>(question)});
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hwndOf(window), WM_GETICON, ICON_BIG, 0)), question);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hwndOf(window), WM_GETICON, ICON_SMALL, 0)), question);
  setIcon(label, "no such file.ico");
  EXPECT_EQ(SendMessageA(hwndOf(label), STM_GETICON, 0, 0), 0);
}

TEST(Properties, CloseWindowOfZeroClosesTheMainWindow) {
  const int window = create(Window, "main", 0, 0, 0, 300, 200, 0);
  const HWND handle = hwndOf(window);
  const int previous = setMainWindow(window);
  closeWindow(0);
  setMainWindow(previous);
  // Nothing handles the close request yet, so the platform's default destroys the window.
  EXPECT_FALSE(IsWindow(handle));
}
