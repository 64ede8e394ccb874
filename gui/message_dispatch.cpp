#include "gui/message_dispatch.h"

#include "gui/class_table.h"
#include "gui/handlers.h"
#include "gui/registry.h"
#include "gui/status_bar.h"
#include "support/hot_path.h"
#include "support/w32dll.h"

std::vector<int> vEventsHandled;
std::vector<MessageHandler> vHandler;
std::vector<int> vEventCnt;
std::vector<WinMsgRecord> vWinMsg;
int vWMI = 0;

namespace {

constexpr int kRecordStep = 16;
// A row moves up past the row above it once it has been used more than this much more often.
constexpr int kBubbleMargin = 3;

// Mouse moves come first: they are by far the most frequent message.
// clang-format off
constexpr int kInitialMessages[] = {
    WM_MOUSEMOVE, WM_SETFOCUS, WM_KILLFOCUS, WM_KEYDOWN, WM_CHAR, WM_KEYUP,
    WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MOUSEWHEEL,
    WM_SIZE, WM_COMMAND, WM_DROPFILES, WM_PAINT, WM_VSCROLL, WM_HSCROLL, WM_TIMER, WM_SYSCOLORCHANGE,
    WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORSCROLLBAR,
    WM_CLOSE, WM_DESTROY, WM_NOTIFY, WM_SYSKEYDOWN, WM_SYSCHAR, WM_ERASEBKGND};
// clang-format on

bool vDispatchStarted = false;

HOT_PATH int findRow(int message) {
  for (std::size_t row = 0; row < vEventsHandled.size(); ++row)
    if (vEventsHandled[row] == message)
      return static_cast<int>(row);
  return -1;
}

HOT_PATH void countUse(int row) {
  ++vEventCnt[row];
  if (row > 0 && vEventCnt[row - 1] + kBubbleMargin < vEventCnt[row]) {
    std::swap(vEventsHandled[row - 1], vEventsHandled[row]);
    std::swap(vHandler[row - 1], vHandler[row]);
    std::swap(vEventCnt[row - 1], vEventCnt[row]);
  }
}

HOT_PATH bool hasEventHandlers(int id, int event) {
  return !ctrl_Handlers[id][event - 1].empty() || !ctrl_Handlers[Screen][event - 1].empty();
}

HOT_PATH int dispatch(int id, int source, int hWnd, int iMsg, int wParam, int lParam) {
  if (hasEventHandlers(id, w32HEvent))
    invokeHandler(id, w32HEvent, {iMsg, wParam, lParam, source});

  const int row = findRow(iMsg);
  if (row < 0 || !vHandler[row])
    return DefProcessing(id, source, hWnd, iMsg, wParam, lParam);

  const MsgResult answer = vHandler[row](id, hWnd, iMsg, wParam, lParam, source);
  int result = answer.value.value_or(0);
  if (answer.tag == kSubclassedMsg) {
    const NativeMessage message = answer.replacement.value_or(NativeMessage{hWnd, iMsg, wParam, lParam});
    result = DefProcessing(id, source, message.hWnd, message.message, message.wParam, message.lParam);
  }
  // The handler may have dispatched further messages that moved rows: look the row up again.
  countUse(vEventsHandled[row] == iMsg ? row : findRow(iMsg));
  return result;
}

}  // namespace

void startDispatch() {
  if (vDispatchStarted)
    return;
  vDispatchStarted = true;
  vEventsHandled.assign(std::begin(kInitialMessages), std::end(kInitialMessages));
  vEventsHandled.push_back(w32Func(rtn::RegisterWindowMessageA, {"commdlg_FindReplace"}));
  vHandler.assign(vEventsHandled.size(), nullptr);
  vEventCnt.assign(vEventsHandled.size(), 0);
  vWinMsg.assign(kRecordStep, WinMsgRecord{});
}

void setMessageHandler(int message, MessageHandler handler) {
  const int row = findRow(message);
  if (row >= 0)
    vHandler[row] = handler;
}

HOT_PATH LRESULT CALLBACK WndProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  return MessageProcessor(kMainMsg, reinterpret_cast<int>(hWnd), iMsg, wParam, lParam);
}

HOT_PATH LRESULT CALLBACK SubProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  return MessageProcessor(kSubclassedMsg, reinterpret_cast<int>(hWnd), iMsg, wParam, lParam);
}

HOT_PATH int MessageProcessor(int source, int hWnd, int iMsg, int wParam, int lParam) {
  const int id = getId(hWnd);
  if (id == 0)
    return DefProcessing(0, source, hWnd, iMsg, wParam, lParam);

  ++vWMI;
  if (vWMI >= static_cast<int>(vWinMsg.size()))
    vWinMsg.resize(vWinMsg.size() + kRecordStep);
  vWinMsg[vWMI] = {source, hWnd, iMsg, wParam, lParam};
  // A window about to be shown first gets the panel texts held while it could not be seen.
  if (iMsg == WM_WINDOWPOSCHANGING && lParam && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW))
    sendHeldTexts(id);

  const int result = dispatch(id, source, hWnd, iMsg, wParam, lParam);

  if (hasListeners(id, w32HAfterEvent))
    invokeHandler(id, w32HAfterEvent, {iMsg, wParam, lParam, result});
  --vWMI;
  return result;
}

HOT_PATH int DefProcessing(int id, int source, int hWnd, int iMsg, int wParam, int lParam) {
  if (id == 0 || source == kMainMsg)
    return w32Call(rtn::DefWindowProcA, hWnd, iMsg, wParam, lParam);
  if (ctrl_Type[id] == StatusBar && changesPanelTexts(iMsg))
    forgetPanelTexts(id, iMsg, wParam);
  return w32Call(rtn::CallWindowProcA, ctrl_Function[id], hWnd, iMsg, wParam, lParam);
}
