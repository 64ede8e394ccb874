#include "app_windows/time_request_windows.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "accounting/hours/time_requests.h"
#include "accounting/program/request_watch.h"
#include "accounting/table/table_home.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "app_windows/app_windows.h"
#include "app_windows/supervisor_save.h"
#include "app_windows/tray_minutes.h"
#include "gui/class_table.h"
#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/creation.h"
#include "gui/handlers.h"
#include "gui/menus.h"
#include "gui/message_box.h"
#include "gui/registry.h"
#include "gui/showing_windows.h"
#include "support/w32dll.h"

namespace {
int TrayMenu = 0, TrayAnsweringMenu, AskItem, AskAnsweringItem, AnswerItem;
int AskWindow, Ask15, Ask30, Ask60, AskNote, AskStatus, AskSend, AskCancel;
int AnswerWindow, AnswerWhat, AnswerNote, AnswerMinutes, AnswerPassword;
int AnswerApprove, AnswerRefuse, AnswerCancel;

constexpr const char* kAskTitle = "Ask for More Time";
constexpr const char* kAnswerTitle = "Answer Request";
// The ANSI code page's ellipsis.
constexpr const char* kAskCaption = "&Ask for more time\x85";
constexpr const char* kAnswerCaption = "A&nswer request\x85";
constexpr int kLongestMinutesText = 4;

// The request the answer window shows.
int vAnswering = 0;

// The core's sentences start in lower case, for use inside others; a box starts with a capital.
std::string sentence(std::string text) {
  if (!text.empty())
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

// A label shows "&" as an underline under the next character unless it is doubled.
std::string labelText(const std::string& text) {
  std::string shown;
  for (char c : text)
    shown += c == '&' ? std::string("&&") : std::string(1, c);
  return shown;
}

void createAskWindow() {
  AskWindow = createEx(Window, kAskTitle, 0, Default, Default, 330, 220, 0, 0);
  create(LText, "More minutes today:", AskWindow, 10, 12, 250, 20, 0);
  Ask15 = create(Radio, "15 minutes", AskWindow, 20, 35, 90, 20, 0);
  Ask30 = create(Radio, "30 minutes", AskWindow, 115, 35, 90, 20, 0);
  Ask60 = create(Radio, "60 minutes", AskWindow, 210, 35, 90, 20, 0);
  create(LText, "Note (up to " + std::to_string(kLongestNote) + " characters):", AskWindow, 10, 65, 250, 20, 0);
  AskNote = createEx(EditText, "", AskWindow, 10, 85, 300, 20, 0, 0);
  sendMessage(AskNote, EM_LIMITTEXT, static_cast<int>(kLongestNote), 0);
  AskStatus = create(LText, "", AskWindow, 10, 115, 300, 20, 0);
  AskSend = create(PushButton, "Send", AskWindow, 155, 145, 70, 24, 0);
  AskCancel = create(PushButton, "Cancel", AskWindow, 240, 145, 70, 24, 0);
}

void createAnswerWindow() {
  AnswerWindow = createEx(Window, kAnswerTitle, 0, Default, Default, 360, 250, 0, 0);
  AnswerWhat = create(LText, "", AnswerWindow, 10, 12, 330, 20, 0);
  AnswerNote = create(LText, "", AnswerWindow, 10, 36, 330, 48, 0);
  create(LText, "Minutes to give:", AnswerWindow, 10, 95, 130, 20, 0);
  AnswerMinutes = createEx(EditText, "", AnswerWindow, 150, 95, 50, 20, 0, 0);
  sendMessage(AnswerMinutes, EM_LIMITTEXT, kLongestMinutesText, 0);
  create(LText, "Supervisor password:", AnswerWindow, 10, 125, 130, 20, 0);
  AnswerPassword = createEx(EditText, "", AnswerWindow, 150, 125, 150, 20, ES_PASSWORD, 0);
  AnswerApprove = create(PushButton, "Approve", AnswerWindow, 95, 170, 75, 24, 0);
  AnswerRefuse = create(PushButton, "Refuse", AnswerWindow, 180, 170, 75, 24, 0);
  AnswerCancel = create(PushButton, "Cancel", AnswerWindow, 265, 170, 75, 24, 0);
}

void answer(bool approving) {
  int minutes = 0;
  if (approving && (!wholeNumber(getText(AnswerMinutes), kMostMinutes, minutes) || minutes == 0)) {
    message_box("Minutes to give: a whole number from 1 to " + std::to_string(kMostMinutes), kAnswerTitle, 0u);
    return;
  }
  std::optional<std::string> typed = getText(AnswerPassword);
  setText(AnswerPassword, "");
  std::vector<std::string> done;
  const SaveOutcome saved = vHome.answerRequest(vAnswering, minutes, typed, done);
  std::fill(typed->begin(), typed->end(), '\0');
  switch (saved.kind) {
    case SaveOutcome::Saved:
      showWindow(AnswerWindow, SW_HIDE);
      lookAtRequest();
      return;
    case SaveOutcome::WrongPassword:
      message_box("Incorrect Password", kAnswerTitle, 0u);
      return;
    case SaveOutcome::Silent:
      message_box(kNoGuard, kAnswerTitle, 0u);
      return;
    case SaveOutcome::NotAdministrator:
    case SaveOutcome::NotKept:
      message_box("Nothing was changed (" + saved.why + ")", kAnswerTitle, 0u);
      return;
  }
}

// "Ask for more time...": the ask window afresh, with the request that waits, if any.
void openAskWindow(int, int, const EventParams&) {
  setCheck(Ask15, 1);
  setCheck({Ask30, Ask60}, 0);
  setText(AskNote, "");
  setText(AskStatus, waitingText());
  setEnable(AskSend, true);
  openWindow({AskWindow, AskNote}, SW_SHOW);
}

// Send: the request with the minutes and note chosen; a refusal is said in a box.
void sendTimeRequest(int, int, const EventParams&) {
  const int minutes = isChecked(Ask60) ? 60 : isChecked(Ask30) ? 30 : 15;
  int number = 0;
  const std::string refusal = vHome.askForTime(minutes, getText(AskNote), number);
  if (!refusal.empty()) {
    message_box(sentence(refusal), kAskTitle, 0u);
    return;
  }
  requestSent(number, minutes);
  setText(AskStatus, waitingText());
  setEnable(AskSend, false);
  refreshTrayTip();
}

// "Answer request...": the waiting request as it is now, in the answer window.
void openAnswerWindow(int, int, const EventParams&) {
  TimeRequest request;
  if (const std::string why = readOpenRequest(request); !why.empty()) {
    message_box(sentence(why), kAnswerTitle, 0u);
    return;
  }
  vAnswering = request.number;
  setText(AnswerWhat, labelText("Request " + std::to_string(request.number) + " from " + request.account + ": " +
                                std::to_string(request.minutesAsked) + " minutes"));
  setText(AnswerNote, request.note.empty() ? "No note" : labelText("Note: " + request.note));
  setText(AnswerMinutes, std::to_string(request.minutesAsked));
  setText(AnswerPassword, "");
  openWindow({AnswerWindow, AnswerPassword}, SW_SHOW);
}

// Approve with the minutes shown, or Refuse, when the typed password opens the gate.
void approveAnswer(int, int, const EventParams&) {
  answer(true);
}

void refuseAnswer(int, int, const EventParams&) {
  answer(false);
}

// Cancel in either window: hides it.
void closeRequestWindow(int self, int, const EventParams&) {
  showWindow(findParentWindow(self), SW_HIDE);
}

void createOnce() {
  if (TrayMenu != 0)
    return;
  TrayMenu = create(Popup, "", HostWindow, 0, 0, 0, 0, 0);
  AskItem = create(MenuItem, kAskCaption, TrayMenu, 0, 0, 0, 0, 0);
  TrayAnsweringMenu = create(Popup, "", HostWindow, 0, 0, 0, 0, 0);
  AskAnsweringItem = create(MenuItem, kAskCaption, TrayAnsweringMenu, 0, 0, 0, 0, 0);
  AnswerItem = create(MenuItem, kAnswerCaption, TrayAnsweringMenu, 0, 0, 0, 0, 0);
  createAskWindow();
  createAnswerWindow();
  setHandler(AskItem, w32HClick, openAskWindow);
  setHandler(AskAnsweringItem, w32HClick, openAskWindow);
  setHandler(AnswerItem, w32HClick, openAnswerWindow);
  setHandler(AskSend, w32HClick, sendTimeRequest);
  setHandler(AnswerApprove, w32HClick, approveAnswer);
  setHandler(AnswerRefuse, w32HClick, refuseAnswer);
  setHandler(AskCancel, w32HClick, closeRequestWindow);
  setHandler(AnswerCancel, w32HClick, closeRequestWindow);
}
}  // namespace

void showTrayMenu() {
  createOnce();
  const int host = getHandle(HostWindow);
  POINT pointer{};
  w32Func(rtn::GetCursorPos, {&pointer});
  w32Func(rtn::ScreenToClient, {host, &pointer});
  // A menu of a tray icon closes when the user clicks elsewhere only if its window is in the
  // foreground while it shows, and the message posted after it lets the next one open at once.
  w32Func(rtn::SetForegroundWindow, {host});
  popup(vSession.requestOpen ? TrayAnsweringMenu : TrayMenu, HostWindow, pointer.x, pointer.y);
  w32Func(rtn::PostMessageA, {host, WM_NULL, 0, 0});
}
