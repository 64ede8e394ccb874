// The framework's message handlers on live windows: commands and clicks, tab pages, Enter, Tab
// and hot keys, the modal window's focus, child colours and painting.
#include "gui/message_handlers.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/control_looks.h"
#include "gui/control_state.h"
#include "gui/creation.h"
#include "gui/geometry.h"
#include "gui/handlers.h"
#include "gui/showing_windows.h"
#include "tests/gui_windows/windows_fixture.h"

namespace {

class MessageHandlersTest : public testing::Test {
 protected:
  void SetUp() override { vCalls.clear(); }
  void TearDown() override {
    for (int event = 1; event <= w32LastEventType; ++event)
      setHandler(Screen, event, {kClearHandlers});
  }
};

int send(int id, int message, int wParam, int lParam) {
  return static_cast<int>(SendMessageA(hwndOf(id), message, wParam, lParam));
}

// What the control shows at the point of its client area, as it is on the screen.
COLORREF pixelOf(int id, int x, int y) {
  HDC dc = GetDC(hwndOf(id));
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(hwndOf(id), dc);
  return colour;
}

}  // namespace

TEST_F(MessageHandlersTest, MenuCommandsClickTheirItemUnlessTheyComeFromAnAccelerator) {
  const int window = newWindow();
  const int menu = create(Menu, "&File", window, 0, 0, 0, 0, 0);
  const int item = create(MenuItem, "&Open", menu, 0, 0, 0, 0, 0);
  setHandler(item, w32HClick, record<'m'>);

  send(window, WM_COMMAND, MAKEWPARAM(item, 0), 0);
  send(window, WM_COMMAND, MAKEWPARAM(item, 1), 0);
  EXPECT_EQ(vCalls, (std::vector<Call>{{'m', item, w32HClick, {}}}));
}

TEST_F(MessageHandlersTest, AButtonClicksOnceWhetherOnTheWindowOrOnATabPage) {
  const int window = newWindow();
  const int plain = create(PushButton, "Plain", window, 5, 5, 60, 24, 0);
  const int tabs = create(TabControl, "", window, 5, 40, 300, 180, 0);
  const int page = create(TabItem, "Page", tabs, 0, 0, 0, 0, 0);
  const int onPage = create(PushButton, "On page", page, 10, 40, 80, 24, 0);
  openWindow(window, 0);
  setHandler({plain, onPage}, w32HClick, record<'b'>);

  send(plain, BM_CLICK, 0, 0);
  send(onPage, BM_CLICK, 0, 0);
  // The page's command as its tab control hands it on to the window: already handled.
  send(window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(hwndOf(onPage)));
  EXPECT_EQ(vCalls, (std::vector<Call>{{'b', plain, w32HClick, {0}}, {'b', onPage, w32HClick, {0}}}));
}

TEST_F(MessageHandlersTest, ChangingTheTabShowsItsPageAndClicksItsItem) {
  const int window = newWindow();
  const int tabs = create(TabControl, "", window, 5, 5, 300, 200, 0);
  const int first = create(TabItem, "One", tabs, 0, 0, 0, 0, 0);
  const int onFirst = create(PushButton, "A", first, 10, 40, 60, 24, 0);
  const int second = create(TabItem, "Two", tabs, 0, 0, 0, 0, 0);
  const int onSecond = create(PushButton, "B", second, 10, 40, 60, 24, 0);
  openWindow(window, 0);
  setHandler({first, second}, w32HClick, record<'t'>);

  SendMessageA(hwndOf(tabs), TCM_SETCURSEL, 0, 0);
  NMHDR header = {hwndOf(tabs), static_cast<UINT_PTR>(GetDlgCtrlID(hwndOf(tabs))), static_cast<UINT>(TCN_SELCHANGE)};
  send(window, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  EXPECT_TRUE(shows(onFirst));
  EXPECT_FALSE(shows(onSecond));
  EXPECT_EQ(vCalls, (std::vector<Call>{{'t', first, w32HClick, {}}}));
}

TEST_F(MessageHandlersTest, LabelsBoxesAndGroupsOnATabPageShowThePageUnlessGivenAColour) {
  const int window = newWindow();
  const int tabs = create(TabControl, "", window, 5, 5, 300, 200, 0);
  const int page = create(TabItem, "Page", tabs, 0, 0, 0, 0, 0);
  const int label = create(LText, "a", page, 20, 40, 80, 20, 0);
  const int check = create(CheckBox, "b", page, 20, 70, 100, 20, 0);
  const int coloured = create(LText, "c", page, 20, 100, 80, 20, 0);
  const int group = create(Group, "Group", page, 150, 40, 130, 120, 0);
  const int inGroup = create(LText, "d", group, 10, 40, 80, 20, 0);
  setWindowBackColor(coloured, rgb(255, 0, 0));
  openWindow(window, 0);
  RedrawWindow(hwndOf(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  const COLORREF pageColour = pixelOf(tabs, 60, 170);
  ASSERT_NE(pageColour, GetSysColor(COLOR_BTNFACE)) << "a theme whose pages look like the window cannot tell";
  // The far corners of the controls, clear of their texts, and the top of the group's caption.
  EXPECT_EQ(pixelOf(label, 79, 19), pageColour);
  EXPECT_EQ(pixelOf(check, 99, 19), pageColour);
  EXPECT_EQ(pixelOf(inGroup, 79, 19), pageColour);
  EXPECT_EQ(pixelOf(group, 15, 0), pageColour);
  EXPECT_EQ(pixelOf(coloured, 79, 19), RGB(255, 0, 0));
}

TEST_F(MessageHandlersTest, EnterInASingleLineEditMovesOnUnlessAKeyIsHeld) {
  const int window = newWindow();
  const int first = create(EditText, "", window, 10, 10, 100, 24, 0);
  const int second = create(EditText, "", window, 10, 50, 100, 24, 0);
  openWindow({window, first}, 0);
  setHandler(first, w32HKeyPress, record<'k'>);

  send(first, WM_CHAR, VK_RETURN, 1);
  EXPECT_EQ(focusedControl(), second);
  {
    HeldKeys shift({VK_SHIFT});
    setFocus(first);
    send(first, WM_CHAR, VK_RETURN, 1);
    EXPECT_EQ(focusedControl(), first);
  }
  EXPECT_EQ(vCalls, (std::vector<Call>{{'k', first, w32HKeyPress, {VK_RETURN, 0}},
                                       {'k', first, w32HKeyPress, {VK_RETURN, kMaskShift}}}));
}

TEST_F(MessageHandlersTest, TabMovesThroughTheWindowsFocusOrderSkippingWhatCannotTakeIt) {
  const int window = newWindow();
  const int first = create(EditText, "", window, 10, 10, 100, 24, 0);
  const int disabled = create(PushButton, "Off", window, 10, 40, 60, 24, 0);
  const int notes = create(MleText, "", window, 10, 70, 100, 60, 0);
  const int last = create(PushButton, "Last", window, 10, 140, 60, 24, 0);
  openWindow({window, first}, 0);
  setEnable(disabled, false);
  setHandler(first, w32HKeyDown, record<'k'>);

  send(first, WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(focusedControl(), notes);
  send(notes, WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(focusedControl(), notes) << "a multi-line edit keeps a plain Tab";
  {
    HeldKeys ctrl({VK_CONTROL});
    send(notes, WM_KEYDOWN, VK_TAB, 1);
  }
  EXPECT_EQ(focusedControl(), last);
  send(last, WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(focusedControl(), first) << "round from the last to the first";
  {
    HeldKeys shift({VK_SHIFT});
    send(first, WM_KEYDOWN, VK_TAB, 1);
  }
  EXPECT_EQ(focusedControl(), last);
  EXPECT_TRUE(vCalls.empty()) << "a focus-moving Tab raises no key event";
}

TEST_F(MessageHandlersTest, HotKeysClickTheirEnabledButtonInsteadOfRaisingKeys) {
  const int window = newWindow();
  const int edit = create(EditText, "", window, 10, 10, 100, 24, 0);
  const int go = create(PushButton, "&Go", window, 10, 40, 60, 24, 0);
  const int cancel = create(CancelButton, "Cancel", window, 80, 40, 60, 24, 0);
  openWindow({window, edit}, 0);
  setHandler({go, cancel}, w32HClick, record<'b'>);
  setHandler(edit, w32HKeyDown, record<'e'>);

  EXPECT_EQ(send(edit, WM_SYSCHAR, 'g', 0), -1);
  send(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  setEnable(go, false);
  send(edit, WM_SYSCHAR, 'g', 0);
  EXPECT_EQ(vCalls, (std::vector<Call>{{'b', go, w32HClick, {0}}, {'b', cancel, w32HClick, {0}}}));
}

TEST_F(MessageHandlersTest, PauseGoesToScreenAndF10IsAnOrdinaryKey) {
  const int window = newWindow();
  const int edit = create(EditText, "", window, 10, 10, 100, 24, 0);
  setHandler(edit, {w32HPause, w32HBreak, w32HKeyDown}, record<'k'>);

  send(edit, WM_KEYDOWN, VK_PAUSE, 1);
  {
    HeldKeys ctrl({VK_CONTROL});
    send(edit, WM_KEYDOWN, VK_CANCEL, 1);
  }
  EXPECT_EQ(send(edit, WM_SYSKEYDOWN, VK_F10, 1), 0);
  EXPECT_EQ(vCalls, (std::vector<Call>{{'k', edit, w32HPause, {VK_PAUSE, 0}},
                                       {'k', edit, w32HBreak, {VK_CANCEL, kMaskCtrl}},
                                       {'k', edit, w32HKeyDown, {VK_F10, 0}}}));
}

TEST_F(MessageHandlersTest, FocusStaysInTheModalWindowAndEditsSelectTheirTextOnArrival) {
  const int window = newWindow();
  const int edit = create(EditText, "hello", window, 10, 10, 100, 24, 0);
  const int button = create(PushButton, "Go", window, 10, 40, 60, 24, 0);
  openWindow({window, button}, 0);
  setHandler(edit, w32HGotFocus, record<'g'>);
  setHandler(button, w32HLostFocus, record<'l'>);

  setFocus(edit);
  DWORD start = 9, end = 9;
  SendMessageA(hwndOf(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);

  const int modal = newWindow("modal");
  openWindow(modal, kModalStyle);
  vCalls.clear();
  SetFocus(hwndOf(edit));
  EXPECT_EQ(focusedControl(), modal);
  EXPECT_TRUE(vCalls.empty());
  closeWindow(modal);

  setFocus(button);
  defineUserProperty(edit, "AutoSelect", 0);
  SendMessageA(hwndOf(edit), EM_SETSEL, 1, 1);
  setFocus(edit);
  SendMessageA(hwndOf(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 1u);
  EXPECT_EQ(callsOf(button, w32HLostFocus), (std::vector<Call>{{'l', button, w32HLostFocus, {button}}}));
}

TEST_F(MessageHandlersTest, ChildColoursComeFromTheirOwnBrushOrTheDefault) {
  const int window = newWindow();
  const int label = create(LText, "label", window, 10, 10, 100, 24, 0);
  const int edit = create(EditText, "", window, 10, 40, 100, 24, 0);
  HDC dc = GetDC(hwndOf(window));
  EXPECT_EQ(send(window, WM_CTLCOLORSTATIC, reinterpret_cast<int>(dc), reinterpret_cast<int>(hwndOf(label))),
            ctrl_Bg_Brush[label]);
  const int brush = send(window, WM_CTLCOLOREDIT, reinterpret_cast<int>(dc), reinterpret_cast<int>(hwndOf(edit)));
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(brush)), static_cast<DWORD>(OBJ_BRUSH));
  ReleaseDC(hwndOf(window), dc);
}

TEST_F(MessageHandlersTest, NothingIsPaintedWhileBeingMadeButANewBackgroundRepaintsAtOnce) {
  const int window = newWindow();
  setHandler(Screen, w32HPaint, record<'p'>);
  const int label = create(LText, "label", window, 10, 10, 100, 24, 0);
  EXPECT_EQ(vCalls, std::vector<Call>{});
  setWindowBackColor(label, rgb(1, 2, 3));
  EXPECT_EQ(callsOf(label, w32HPaint).size(), 1u);
}

TEST_F(MessageHandlersTest, AClickIsAPressAndAReleaseCloseTogetherOnOneControl) {
  const int window = newWindow();
  const int button = create(PushButton, "Go", window, 200, 10, 60, 24, 0);
  openWindow(window, 0);
  setHandler({window, button}, w32HClick, record<'c'>);
  setHandler(window, w32HMouse, record<'m'>);

  send(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 10));
  send(window, WM_LBUTTONUP, 0, MAKELPARAM(12, 13));
  send(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  send(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  send(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  send(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

  EXPECT_EQ(callsOf(window, w32HClick).size(), 1u) << "moved too far the second time";
  EXPECT_EQ(callsOf(button, w32HClick), (std::vector<Call>{{'c', button, w32HClick, {0}}}))
      << "a button clicks through its command only";
  const std::vector<Call> mouse = callsOf(window, w32HMouse);
  ASSERT_EQ(mouse.size(), 4u);
  EXPECT_EQ(mouse[0].params, (EventParams{WM_LBUTTONDOWN, 10, 10, kMaskLeftButton | kMaskShift, 0}));
  EXPECT_EQ(mouse[1].params, (EventParams{WM_LBUTTONUP, 12, 13, 0, 0}));
}
