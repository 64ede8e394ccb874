// Opening, showing and closing windows: show styles and words, full screen, the first focus,
// the modal stack, dialogs in nested loops, and the end of the main window.
#include "gui/showing_windows.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "gui/control_state.h"
#include "gui/creation.h"
#include "gui/destroy.h"
#include "gui/event_loop.h"
#include "gui/handlers.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/gui_windows/windows_fixture.h"

namespace {

constexpr char kWarningTitle[] = "Larkspur AppWindow - Error Warning";

class WindowsTest : public testing::Test {
 protected:
  void SetUp() override { vCalls.clear(); }
  // No test leaves a modal window or a main window behind for the next.
  void TearDown() override {
    vModal = {};
    modalStack.clear();
    setMainWindow(0);
  }
};

RECT rectOf(int id) {
  RECT rect = {};
  GetWindowRect(hwndOf(id), &rect);
  return rect;
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(WindowsTest, OpeningWithTheNormalStyleShowsOrRestoresAndShowWindowZeroHides) {
  const int window = newWindow();
  setHandler(window, {w32HOpen, w32HActivate}, record<'w'>);
  openWindow(window, 0);
  EXPECT_TRUE(shows(window)) << "0 is the framework's normal style, not the platform's hide";
  EXPECT_EQ(ctrl_Closed[window], 0);
  EXPECT_EQ(vCalls, (std::vector<Call>{{'w', window, w32HOpen, {}}, {'w', window, w32HActivate, {}}}));

  showWindow(window, SW_MINIMIZE);
  openWindow(window, 0);
  EXPECT_FALSE(IsIconic(hwndOf(window)));

  showWindow(window, 0);
  EXPECT_FALSE(shows(window));
  EXPECT_EQ(ctrl_Closed[window], 0) << "showWindow does not close";
}

TEST_F(WindowsTest, ShowWordsAreLookedUpInAnyCase) {
  EXPECT_EQ(translateShowStyle("show").number, SW_SHOW);
  EXPECT_EQ(translateShowStyle("Max").number, SW_SHOWDEFAULT);
  EXPECT_EQ(translateShowStyle("dialog").number, kDialogStyle);
  EXPECT_EQ(translateShowStyle("FullScreen").kind, ShowStyle::FullScreen);
  const ShowStyle unknown = translateShowStyle("sideways");
  EXPECT_EQ(unknown.kind, ShowStyle::Word);
  EXPECT_EQ(unknown.word, "sideways");

  // "show" is the platform's 5, which leaves a minimised window minimised where the normal
  // style would restore it.
  const int window = newWindow();
  openWindow(window, 0);
  showWindow(window, "minimize");
  ASSERT_TRUE(IsIconic(hwndOf(window)));
  openWindow(window, "show");
  EXPECT_TRUE(IsIconic(hwndOf(window)));

  // A word the table does not know changes nothing shown, and opens the normal way.
  showWindow(window, "sideways");
  EXPECT_TRUE(IsIconic(hwndOf(window)));
  openWindow(window, "sideways");
  EXPECT_FALSE(IsIconic(hwndOf(window)));
  EXPECT_TRUE(shows(window));
}

TEST_F(WindowsTest, FullScreenIsUndoneByTheNextNumericStyle) {
  const int window = newWindow();
  openWindow(window, 0);
  const LONG style = GetWindowLongA(hwndOf(window), GWL_STYLE);
  const RECT place = rectOf(window);

  showWindow(window, w32FullScreen);
  EXPECT_EQ(GetWindowLongA(hwndOf(window), GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_TRUE(IsZoomed(hwndOf(window)));
  showWindow(window, "fullscreen");  // a second time keeps the first saved state

  showWindow(window, SW_SHOWNORMAL);
  EXPECT_EQ(GetWindowLongA(hwndOf(window), GWL_STYLE), style);
  EXPECT_TRUE(sameRect(rectOf(window), place));
}

TEST_F(WindowsTest, OpeningResolvesTheFirstFocus) {
  const int window = create(Window, "Focus Window", 0, 40, 40, 320, 240, 0);
  const int button = create(PushButton, "Go", window, 10, 10, 60, 24, 0);
  const int edit = create(EditText, "", window, 10, 50, 100, 24, 0);
  const int second = create(EditText, "", window, 10, 90, 100, 24, 0);

  openWindow({window, 0}, 0);
  EXPECT_EQ(focusedControl(), edit) << "an edit field before the button created earlier";
  openWindow({window, second}, 0);
  EXPECT_EQ(focusedControl(), second);
  openWindow({window, -1}, 0);
  EXPECT_EQ(focusedControl(), second) << "the window gives the focus back to the child that had it";
  openWindow("Focus Window", 0);
  EXPECT_EQ(focusedControl(), button) << "by name: the first of the focus order";

  setHandler(button, w32HOpen, record<'b'>);
  openWindow(button, 0);
  EXPECT_TRUE(vCalls.empty()) << "only windows are opened";
}

TEST_F(WindowsTest, OpeningShowsThePageOfTheSelectedTab) {
  const int window = newWindow();
  const int tabs = create(TabControl, "", window, 5, 5, 300, 200, 0);
  const int first = create(TabItem, "One", tabs, 0, 0, 0, 0, 0);
  const int onFirst = create(PushButton, "A", first, 10, 40, 60, 24, 0);
  const int second = create(TabItem, "Two", tabs, 0, 0, 0, 0, 0);
  const int onSecond = create(PushButton, "B", second, 10, 40, 60, 24, 0);
  // Selected behind the framework's back: the page still shown is the second's.
  SendMessageA(hwndOf(tabs), TCM_SETCURSEL, 0, 0);

  openWindow(window, 0);
  EXPECT_TRUE(shows(onFirst));
  EXPECT_FALSE(shows(onSecond));
}

TEST_F(WindowsTest, AModalWindowOpenedTwiceIsPushedOnceAndPoppingPastTheBottomWarns) {
  const int modal = newWindow();
  openWindow(modal, "modal");
  openWindow(modal, kModalStyle);
  EXPECT_EQ(vModal.window, modal);
  EXPECT_EQ(vModal.style, kModalStyle);
  EXPECT_EQ(modalStack.size(), 1u);
  EXPECT_EQ(GetWindowLongA(hwndOf(modal), GWL_STYLE) & WS_MINIMIZEBOX, 0);

  closeWindow(modal);
  EXPECT_EQ(vModal, ModalRecord{});
  EXPECT_TRUE(modalStack.empty());

  DialogAnswerer answerer(kWarningTitle, IDYES);
  popModal();
  const std::vector<SeenBox> boxes = answerer.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("popModal: The Modal Window Stack is already empty."), std::string::npos);
  EXPECT_EQ(vModal, ModalRecord{});
}

TEST_F(WindowsTest, WhileAModalWindowIsOpenNothingElseClosesAndTheModalWindowGetsTheFocus) {
  const int mainWindow = newWindow("main");
  const int other = newWindow("other");
  const int modal = newWindow("modal");
  setMainWindow(mainWindow);
  openWindow(mainWindow, 0);
  openWindow(other, 0);
  openWindow(modal, kModalStyle);
  setHandler({mainWindow, other}, w32HClose, record<'c'>);

  showWindow(modal, SW_MINIMIZE);
  closeWindow(mainWindow);
  closeWindow(other);
  EXPECT_TRUE(vCalls.empty());
  EXPECT_TRUE(shows(mainWindow));
  EXPECT_TRUE(shows(other));
  EXPECT_FALSE(IsIconic(hwndOf(modal)));
  EXPECT_EQ(focusedControl(), modal);

  // Destruction asks for the close too, and is refused with it.
  destroy(other);
  EXPECT_TRUE(validId(other));
  EXPECT_EQ(ctrl_Destroyed[other], kSlotLive);

  closeWindow(modal);
  closeWindow(other);
  EXPECT_EQ(callsOf(other, w32HClose).size(), 1u);
}

TEST_F(WindowsTest, ClosingASecondaryWindowHidesItOnceUntilItIsOpenedAgain) {
  const int window = newWindow();
  setHandler(window, w32HClose, record<'c'>);
  closeWindow(window);
  EXPECT_TRUE(vCalls.empty()) << "a window never opened is not closed";

  openWindow(window, 0);
  closeWindow(window);
  closeWindow(window);
  EXPECT_FALSE(shows(window));
  EXPECT_EQ(ctrl_Closed[window], 1);
  EXPECT_EQ(vCalls, (std::vector<Call>{{'c', window, w32HClose, {}}}));
  EXPECT_TRUE(validId(window)) << "hidden, not destroyed";

  openWindow(window, 0);
  closeWindow(window);
  EXPECT_EQ(vCalls.size(), 2u);
}

namespace {

constexpr int kOpenInner = WM_APP + 1;
int vOuter = 0;
int vInner = 0;
struct Moment {
  int loops;
  int modal;
  int outerClosed;
};
std::vector<Moment> vMoments;

void postClose(int self, int, const EventParams&) {
  PostMessageA(hwndOf(self), WM_CLOSE, 0, 0);
}

void postOpenInner(int self, int, const EventParams&) {
  PostMessageA(hwndOf(self), kOpenInner, 0, 0);
}

// Runs the inner dialog from inside the outer dialog's loop, and closes the outer one after.
void outerEvents(int self, int, const EventParams& params) {
  if (params[0] != kOpenInner)
    return;
  openDialog(vInner);
  vMoments.push_back({runningEventLoops(), vModal.window, ctrl_Closed[vOuter]});
  PostMessageA(hwndOf(self), WM_CLOSE, 0, 0);
}

}  // namespace

TEST_F(WindowsTest, ClosingADialogInsideADialogEndsOnlyTheInnerLoop) {
  vOuter = newWindow("outer");
  vInner = newWindow("inner");
  vMoments.clear();
  setHandler(vOuter, w32HActivate, postOpenInner);
  setHandler(vOuter, w32HEvent, outerEvents);
  setHandler(vInner, w32HActivate, postClose);

  Watchdog watchdog;
  openDialog(vOuter);
  ASSERT_FALSE(watchdog.fired());
  ASSERT_EQ(vMoments.size(), 1u);
  EXPECT_EQ(vMoments[0].loops, 1) << "the outer dialog's loop is still running";
  EXPECT_EQ(vMoments[0].modal, vOuter);
  EXPECT_EQ(vMoments[0].outerClosed, 0);
  EXPECT_EQ(runningEventLoops(), 0);
  EXPECT_EQ(vModal, ModalRecord{});
  EXPECT_FALSE(shows(vOuter));
  EXPECT_FALSE(shows(vInner));
}

TEST_F(WindowsTest, ClosingTheMainWindowDestroysItAndEndsTheLoop) {
  const int window = newWindow();
  setMainWindow(window);
  openWindow(window, 0);
  PostMessageA(hwndOf(window), WM_CLOSE, 0, 0);
  Watchdog watchdog;
  eventLoop();
  EXPECT_FALSE(watchdog.fired());
  EXPECT_FALSE(validId(window));
  EXPECT_EQ(getMainWindow(), 0);
}

namespace {

int vQuittingDialog = 0;

void postQuit(int, int, const EventParams&) {
  PostQuitMessage(0);
}

void openQuittingDialog(int, int, const EventParams& params) {
  if (params[0] == kOpenInner)
    openDialog(vQuittingDialog);
}

}  // namespace

TEST_F(WindowsTest, AQuitMessageTakenByANestedLoopStillEndsTheOuterOne) {
  const int window = newWindow();
  vQuittingDialog = newWindow("quitting");
  setHandler(window, w32HEvent, openQuittingDialog);
  setHandler(vQuittingDialog, w32HActivate, postQuit);
  PostMessageA(hwndOf(window), kOpenInner, 0, 0);
  Watchdog watchdog;
  eventLoop();
  EXPECT_FALSE(watchdog.fired()) << "the quit message was lost with the dialog's loop";
  EXPECT_FALSE(shows(vQuittingDialog));
}
