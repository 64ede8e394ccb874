#pragma once
// Message dispatch: the two window procedures, the dispatcher behind them that turns window
// messages into framework events through the self-ordering message table, the record of the
// messages being dispatched, and the platform's default processing.
#include <windows.h>

#include <optional>
#include <vector>

// Where a message came from, and what a message handler wants done with it.
constexpr int kMainMsg = -2761;        // through WndProc; as a result: handled
constexpr int kSubclassedMsg = -9987;  // through SubProc; as a result: run default processing

struct NativeMessage {
  int hWnd;
  int message;
  int wParam;
  int lParam;
};

// A message handler's answer. {kMainMsg} returns 0 from the window procedure, {kMainMsg,
// value} returns value; {kSubclassedMsg} runs default processing on the message, and with a
// replacement runs it on that message instead.
struct MsgResult {
  int tag;
  std::optional<int> value;
  std::optional<NativeMessage> replacement;
};

using MessageHandler = MsgResult (*)(int id, int hWnd, int iMsg, int wParam, int lParam, int source);

// The message table: a message code, its handler (nullptr until the message handlers are
// installed, which leaves the message to default processing) and how often it was handled.
// Rows that are used more often move towards the front.
extern std::vector<int> vEventsHandled;
extern std::vector<MessageHandler> vHandler;
extern std::vector<int> vEventCnt;

// Builds the message table; runs once when the framework starts, later calls do nothing.
void startDispatch();

// Puts a handler in the row of that message; a message without a row is ignored.
void setMessageHandler(int message, MessageHandler handler);

// The messages being dispatched: vWinMsg[vWMI] is the innermost, vWMI is 0 between messages.
struct WinMsgRecord {
  int source;
  int hWnd;
  int message;
  int wParam;
  int lParam;
};
extern std::vector<WinMsgRecord> vWinMsg;
extern int vWMI;

// The procedure of the framework's window classes and the one that replaces a subclassed
// standard control's procedure.
LRESULT CALLBACK WndProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SubProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);

int MessageProcessor(int source, int hWnd, int iMsg, int wParam, int lParam);

// DefWindowProcA for framework windows and windows without a control id; the control's
// own earlier procedure for a subclassed control.
int DefProcessing(int id, int source, int hWnd, int iMsg, int wParam, int lParam);
