// Message dispatch: handler lists, Screen's handlers, default processing, nested messages,
// results, subclassed controls, the self-ordering message table, subscribers and the
// invocation stack.
#include "gui/message_dispatch.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gui/handlers.h"
#include "gui/registry.h"
#include "support/w32msgs.h"
#include "tests/gui_framework/framework_fixture.h"

namespace {

struct Call {
  char routine;
  int self;
  int event;
  EventParams params;
  bool operator==(const Call&) const = default;
};
std::vector<Call> vCalls;

template <char Name>
void record(int self, int event, const EventParams& params) {
  vCalls.push_back({Name, self, event, params});
}
const Handler r1 = record<'1'>;
const Handler r2 = record<'2'>;
const Handler r3 = record<'3'>;
const Handler rScreen = record<'S'>;

constexpr int kProbe = WM_USER + 5;

// Leaves Screen without handlers, whatever a test attached to it.
class DispatchTest : public testing::Test {
 protected:
  void SetUp() override { vCalls.clear(); }
  void TearDown() override {
    for (int event = 1; event <= w32LastEventType; ++event)
      setHandler(Screen, event, {kClearHandlers});
  }
};

}  // namespace

TEST_F(DispatchTest, SetHandlerAddsEachRoutineOnceAndObeysTheListCommands) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int first = makeControl(PushButton, window, 5, 5, 50, 20);
  const int second = makeControl(PushButton, window, 5, 30, 50, 20);
  setHandler({first, second}, w32HClick, r1);
  setHandler({first, second}, w32HClick, r1);
  EXPECT_EQ(getHandlerList(first, w32HClick), std::vector<Handler>{r1});
  EXPECT_EQ(getHandlerList(second, w32HClick), std::vector<Handler>{r1});

  setHandler(first, w32HClick, {kPrependHandlers, r2, r3});
  EXPECT_EQ(getHandlerList(first, w32HClick), (std::vector<Handler>{r3, r2, r1}));
  setHandler(first, w32HClick, {kClearHandlers});
  EXPECT_TRUE(getHandlerList(first, w32HClick).empty());
  setHandler(first, w32HClick, {r2, kClearHandlers, r3});
  EXPECT_EQ(getHandlerList(first, w32HClick), (std::vector<Handler>{r2, r3})) << "-1 counts only in first place";

  // The list read back and extended, the way the tray code adds itself.
  std::vector<Handler> extended = getHandlerList(first, w32HClick);
  extended.push_back(r1);
  setHandler(first, w32HClick, extended);
  EXPECT_EQ(getHandlerList(first, w32HClick), (std::vector<Handler>{r2, r3, r1}));

  setHandler({controlCount() + 3, second}, {0, w32HKeyPress, w32LastEventType + 1}, r2);
  EXPECT_EQ(getHandlerList(second, w32HKeyPress), std::vector<Handler>{r2});
  EXPECT_TRUE(getHandlerList(second, w32LastEventType + 1).empty());
  EXPECT_TRUE(getHandlerList(controlCount() + 3, w32HKeyPress).empty());
}

TEST_F(DispatchTest, PauseHandlersGoToScreenAndRunForEveryControl) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int button = makeControl(PushButton, window, 5, 5, 50, 20);
  setHandler(button, {w32HPause, w32HBreak}, r1);
  EXPECT_TRUE(getHandlerList(button, w32HPause).empty());
  EXPECT_EQ(getHandlerList(Screen, w32HPause), std::vector<Handler>{r1});
  EXPECT_EQ(getHandlerList(Screen, w32HBreak), std::vector<Handler>{r1});

  invokeHandler(window, w32HPause, {VK_PAUSE, 0});
  EXPECT_EQ(vCalls, (std::vector<Call>{{'1', window, w32HPause, {VK_PAUSE, 0}}}));
}

TEST_F(DispatchTest, ScreenHandlersRunBeforeTheControlsOwnForEveryMessage) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int button = makeControl(PushButton, window, 5, 5, 50, 20);
  setHandler({window, button}, w32HEvent, r1);
  setHandler(Screen, w32HEvent, rScreen);

  sendMessage(window, kProbe, 7, 9);
  sendMessage(button, kProbe, 3, 4);
  const std::vector<Call> expected = {{'S', window, w32HEvent, {kProbe, 7, 9, kMainMsg}},
                                      {'1', window, w32HEvent, {kProbe, 7, 9, kMainMsg}},
                                      {'S', button, w32HEvent, {kProbe, 3, 4, kSubclassedMsg}},
                                      {'1', button, w32HEvent, {kProbe, 3, 4, kSubclassedMsg}}};
  EXPECT_EQ(vCalls, expected);
}

TEST_F(DispatchTest, WindowWithoutAnIdGetsOnlyDefaultProcessing) {
  setHandler(Screen, {w32HEvent, w32HAfterEvent}, rScreen);
  const int hWnd = makeWindowWithoutId();
  ASSERT_NE(hWnd, 0);
  EXPECT_EQ(w32Func(rtn::SendMessageA, {hWnd, WM_SETTEXT, 0, "plain"}), TRUE);
  EXPECT_EQ(windowText(hWnd), "plain");
  EXPECT_TRUE(vCalls.empty());
  EXPECT_EQ(vWMI, 0);
}

namespace {

struct Level {
  int depth;
  WinMsgRecord record;
};
std::vector<Level> vLevels;
int vInner = 0;

void noteLevel(int, int, const EventParams& params) {
  if (params[0] != kProbe && params[0] != kProbe + 1)
    return;
  vLevels.push_back({vWMI, vWinMsg[vWMI]});
  if (params[0] == kProbe) {
    sendMessage(vInner, kProbe + 1, 0, 0);
    vLevels.push_back({vWMI, vWinMsg[vWMI]});
  }
}

}  // namespace

TEST_F(DispatchTest, NestedMessagesAreRecordedOneLevelDeeper) {
  const int outer = makeWindow(0, 0, 0, 200, 100);
  const int inner = makeWindow(0, 0, 0, 200, 100);
  vInner = inner;
  vLevels.clear();
  setHandler({outer, inner}, w32HEvent, noteLevel);
  const int depth = vWMI;

  sendMessage(outer, kProbe, 11, 12);
  ASSERT_EQ(vLevels.size(), 3u);
  EXPECT_EQ(vLevels[0].depth, depth + 1);
  EXPECT_EQ(vLevels[0].record.message, kProbe);
  EXPECT_EQ(vLevels[0].record.hWnd, ctrl_Handle[outer]);
  EXPECT_EQ(vLevels[0].record.wParam, 11);
  EXPECT_EQ(vLevels[0].record.source, kMainMsg);
  EXPECT_EQ(vLevels[1].depth, depth + 2);
  EXPECT_EQ(vLevels[1].record.hWnd, ctrl_Handle[inner]);
  EXPECT_EQ(vLevels[1].record.message, kProbe + 1);
  EXPECT_EQ(vLevels[2].depth, depth + 1) << "back at the outer level after the inner message";
  EXPECT_EQ(vLevels[2].record.message, kProbe);
  EXPECT_EQ(vWMI, depth);
  EXPECT_EQ(handlerDepth(), 0);
}

namespace {

MsgResult answerFortyTwo(int, int, int, int, int, int) {
  return {kMainMsg, 42, {}};
}

MsgResult keyBecomesX(int, int hWnd, int, int, int, int) {
  return {kSubclassedMsg, {}, NativeMessage{hWnd, WM_CHAR, 'x', 0}};
}

MsgResult passOn(int, int, int, int, int, int source) {
  return {source, {}, {}};
}

}  // namespace

TEST_F(DispatchTest, HandledMessagesAnswerForTheWindowAndAfterEventSeesTheResult) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  setHandler(window, w32HAfterEvent, r1);
  ScopedMessageHandler timer(WM_TIMER, answerFortyTwo);
  EXPECT_EQ(sendMessage(window, WM_TIMER, 5, 0), 42);
  EXPECT_EQ(vCalls, (std::vector<Call>{{'1', window, w32HAfterEvent, {WM_TIMER, 5, 0, 42}}}));
}

TEST_F(DispatchTest, SubclassedControlsKeepTheirOwnProcedureBehindTheFramework) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int edit = makeControl(EditText, window, 5, 5, 150, 20);
  sendMessage(edit, WM_SETTEXT, 0, "");
  sendMessage(edit, WM_CHAR, 'a', 0);  // no handler: the edit control's own procedure
  EXPECT_EQ(windowText(ctrl_Handle[edit]), "a");
  {
    ScopedMessageHandler keys(WM_KEYDOWN, keyBecomesX);
    sendMessage(edit, WM_KEYDOWN, 'Q', 0);
  }
  EXPECT_EQ(windowText(ctrl_Handle[edit]), "ax") << "default processing ran on the replacement";
  {
    ScopedMessageHandler chars(WM_CHAR, passOn);
    sendMessage(edit, WM_CHAR, 'b', 0);
    EXPECT_EQ(windowText(ctrl_Handle[edit]), "axb") << "{source} lets a subclassed control see it";
    ScopedMessageHandler swallow(WM_CHAR, answerFortyTwo);
    EXPECT_EQ(sendMessage(edit, WM_CHAR, 'c', 0), 42);
    EXPECT_EQ(windowText(ctrl_Handle[edit]), "axb") << "{kMainMsg, ...} keeps it from the control";
  }
}

namespace {

int rowOf(int message) {
  return static_cast<int>(std::find(vEventsHandled.begin(), vEventsHandled.end(), message) - vEventsHandled.begin());
}

std::vector<int> rowsWithout(int message) {
  std::vector<int> rows = vEventsHandled;
  rows.erase(std::find(rows.begin(), rows.end(), message));
  return rows;
}

}  // namespace

TEST_F(DispatchTest, FrequentMessagesBubbleUpOneRowAtATime) {
  ASSERT_EQ(vEventsHandled.size(), 33u);
  const int window = makeWindow(0, 0, 0, 200, 100);
  ScopedMessageHandler moves(WM_MOUSEMOVE, passOn);
  ScopedMessageHandler timers(WM_TIMER, passOn);

  for (int i = 0; i < 40; ++i)
    sendMessage(window, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(vEventsHandled.front(), WM_MOUSEMOVE);
  const std::vector<int> before = vEventsHandled;
  sendMessage(window, WM_SIZE, 0, 0);  // no handler: the table is not touched
  EXPECT_EQ(vEventsHandled, before);

  const std::vector<int> others = rowsWithout(WM_TIMER);
  const int mouseMoves = vEventCnt[rowOf(WM_MOUSEMOVE)];
  while (vEventCnt[rowOf(WM_TIMER)] <= mouseMoves + 3) {
    const int row = rowOf(WM_TIMER);
    const int above = row > 0 ? vEventCnt[row - 1] : 0;
    sendMessage(window, WM_TIMER, 1, 0);
    const bool overtakes = row > 0 && vEventCnt[rowOf(WM_TIMER)] > above + 3;
    ASSERT_EQ(rowOf(WM_TIMER), overtakes ? row - 1 : row) << "after " << vEventCnt[rowOf(WM_TIMER)] << " timers";
    ASSERT_EQ(rowsWithout(WM_TIMER), others) << "only the timer row moves";
    if (rowOf(WM_TIMER) == 1) {
      ASSERT_EQ(vEventsHandled.front(), WM_MOUSEMOVE) << "never past a row within 3 of its own count";
    }
  }
  EXPECT_EQ(vEventsHandled[0], WM_TIMER);
  EXPECT_EQ(vEventsHandled[1], WM_MOUSEMOVE);
  EXPECT_EQ(vEventsHandled.back(), w32Func(rtn::RegisterWindowMessageA, {"commdlg_FindReplace"}));
}

TEST_F(DispatchTest, SubscribersAreNotifiedOfTheSendersEvents) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int statusBar = makeControl(StatusBar, window, 0, 0, 0, 0);
  setHandler(statusBar, w32HNotify, r2);
  setHandler(window, w32HResize, r1);
  registerNotification(window, kSubscribe, w32HResize, statusBar, 0);
  registerNotification(window, kSubscribe, w32HResize, statusBar, 9);

  EXPECT_EQ(invokeHandler(window, w32HResize, {0, 640, 480}), 0);
  const std::vector<Call> expected = {{'1', window, w32HResize, {0, 640, 480}},
                                      {'2', statusBar, w32HNotify, {window, w32HResize, 9, 0, 640, 480}}};
  EXPECT_EQ(vCalls, expected);

  vCalls.clear();
  invokeHandler(window, w32HClose, {});
  EXPECT_EQ(invokeHandler(controlCount() + 2, w32HResize, {}), 0);
  EXPECT_TRUE(vCalls.empty());

  // Without a handler of the window's own, its subscriber is still told, and in legacy mode
  // its single routine still runs.
  setHandler(window, w32HResize, {kClearHandlers});
  invokeHandler(window, w32HResize, {0, 1, 2});
  EXPECT_EQ(vCalls, (std::vector<Call>{{'2', statusBar, w32HNotify, {window, w32HResize, 9, 0, 1, 2}}}));
  vCalls.clear();
  vLegacyHandlerMode = true;
  onClose[window] = r3;
  invokeHandler(window, w32HClose, {});
  vLegacyHandlerMode = false;
  onClose[window] = nullptr;
  EXPECT_EQ(vCalls, (std::vector<Call>{{'3', window, w32HClose, {}}}));
}

TEST(DispatchDeathTest, PoppingAnEmptyInvocationStackIsFatal) {
  EXPECT_EXIT(
      {
        vMsgsToIgnore.push_back(466);  // no box in the child: the report goes to its error output
        popHandlerFrame();
      },
      testing::ExitedWithCode(1), "Error code 466\nInternal ID or Return stack lengths incorrect.");
}
