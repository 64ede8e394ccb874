#include "app_windows/password_gate.h"

#include <windows.h>

#include "accounting/table/table_home.h"
#include "accounting/table/table_rules.h"
#include "app_windows/app_windows.h"
#include "app_windows/hours_page.h"
#include "app_windows/manage_data.h"
#include "app_windows/supervisor_save.h"
#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/message_box.h"
#include "gui/showing_windows.h"

namespace {
constexpr int kEnterKey = 13;
constexpr const char* kChangeTitle = "Change Password";

// The supervisor may choose any password here; a short one is told that it is soon guessed.
void confirmChange(const std::string& password) {
  if (password.size() >= kShortestPassword)
    message_box("Password changed", kChangeTitle, 0u);
  else
    message_box("Password changed. It is shorter than " + std::to_string(kShortestPassword) +
                    " characters and easy to guess: a longer one is safer.",
                kChangeTitle, MB_ICONWARNING);
}
}  // namespace

void Password(int, int, const EventParams&) {
  setText(PwEdit, "");
  setFocus(PwEdit);
}

void penter(int self, int event, const EventParams& params) {
  if (!params.empty() && params[0] == kEnterKey)
    Click_Button(self, event, params);
}

void Click_Button(int self, int event, const EventParams& params) {
  const std::string typed = getText(PwEdit);
  const GateAnswer opened = vHome.checkPassword(typed);
  if (opened != GateAnswer::Opens) {
    message_box(opened == GateAnswer::Silent ? kNoGuard : "Incorrect Password", "Enter Password", 0u);
    return;
  }
  rememberGatePassword(typed);
  read_Button(self, event, params);
  readHoursPage();
  showWindow(PasswordWindow, SW_HIDE);
  openWindow(MainWindow, SW_SHOW);
}

void Exitpass(int, int, const EventParams&) {
  showWindow(PasswordWindow, SW_HIDE);
}

void pwchange_Button(int, int, const EventParams&) {
  const std::string oldPassword = getText(OldPwEdit);
  const std::string newPassword = getText(NewPwEdit);
  const std::string confirmation = getText(ConfirmPwEdit);
  const GateAnswer opened = vHome.checkPassword(oldPassword);
  if (opened != GateAnswer::Opens) {
    message_box(opened == GateAnswer::Silent ? kNoGuard : "Wrong Password", kChangeTitle, 0u);
  } else if (newPassword != confirmation) {
    message_box("New passwords don't match", kChangeTitle, 0u);
  } else if (saveAsSupervisor({{1, newPassword}}, kChangeTitle, oldPassword)) {
    rememberGatePassword(newPassword);
    confirmChange(newPassword);
  }
}
