#include "app_windows/password_gate.h"

#include <windows.h>

#include <algorithm>

#include "accounting/data_file.h"
#include "accounting/guard_link.h"
#include "accounting/password_hash.h"
#include "accounting/table_rules.h"
#include "accounting/usage_table.h"
#include "app_windows/app_windows.h"
#include "app_windows/manage_data.h"
#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/message_box.h"
#include "gui/showing_windows.h"

namespace {
constexpr int kEnterKey = 13;
constexpr const char* kChangeTitle = "Change Password";
constexpr const char* kNoGuard = "The Orrindale guard service does not answer; nothing was changed";

// The password that opened the gate: in a protected install the guard takes the supervisor's
// changes only with it, so a window shown without the gate saves nothing.
std::string vGatePassword;

enum class Opens { Yes, No, NoGuard };

// The supervisor may choose any password here; a short one is told that it is soon guessed.
void confirmChange(const std::string& password) {
  if (password.size() >= kShortestPassword)
    message_box("Password changed", kChangeTitle, 0u);
  else
    message_box("Password changed. It is shorter than " + std::to_string(kShortestPassword) +
                    " characters and easy to guess: a longer one is safer.",
                kChangeTitle, MB_ICONWARNING);
}

// Whether the typed text opens the gate: by line 1 here, or in a protected install by the guard,
// which keeps line 1 to itself.
Opens opens(const std::string& typed) {
  if (!vSession.guarded)
    return passwordOpens(vTable.password, typed) ? Opens::Yes : Opens::No;
  GuardRequest check = guardRequest(GuardVerb::Check);
  check.password = typed;
  const std::optional<GuardAnswer> answer = askGuard(check);
  if (!answer)
    return Opens::NoGuard;
  return answer->ok() ? Opens::Yes : Opens::No;
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
  const Opens opened = opens(typed);
  if (opened != Opens::Yes) {
    message_box(opened == Opens::NoGuard ? kNoGuard : "Incorrect Password", "Enter Password", 0u);
    return;
  }
  vGatePassword = typed;
  read_Button(self, event, params);
  showWindow(PasswordWindow, SW_HIDE);
  openWindow(MainWindow, SW_SHOW);
}

void forgetGatePassword(int, int, const EventParams&) {
  std::fill(vGatePassword.begin(), vGatePassword.end(), '\0');
  vGatePassword.clear();
}

void Exitpass(int, int, const EventParams&) {
  showWindow(PasswordWindow, SW_HIDE);
}

void pwchange_Button(int, int, const EventParams&) {
  const std::string oldPassword = getText(OldPwEdit);
  const std::string newPassword = getText(NewPwEdit);
  const std::string confirmation = getText(ConfirmPwEdit);
  const Opens opened = opens(oldPassword);
  if (opened != Opens::Yes) {
    message_box(opened == Opens::NoGuard ? kNoGuard : "Wrong Password", kChangeTitle, 0u);
  } else if (newPassword != confirmation) {
    message_box("New passwords don't match", kChangeTitle, 0u);
  } else if (vSession.guarded) {
    if (!saveAsSupervisor({{1, newPassword}}, kChangeTitle, oldPassword))
      return;
    vGatePassword = newPassword;
    confirmChange(newPassword);
  } else {
    // Hashed whatever it looks like: a typed text that starts like a hash is still a password.
    const std::string hashed = hashPassword(newPassword);
    vTable.password = hashed.empty() ? newPassword : hashed;
    SaveData();
    confirmChange(newPassword);
  }
}

bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title, const std::string& password) {
  GuardRequest save = guardRequest(GuardVerb::Save);
  save.password = password;
  save.cells = cells;
  const std::optional<GuardAnswer> answer = askGuard(save);
  if (answer && answer->ok())
    return true;
  if (!answer)
    message_box(kNoGuard, title, 0u);
  else if (answer->refusal == Refusal::WrongPassword)
    message_box("Nothing was changed: the supervisor password was not given at the password window", title, 0u);
  else
    message_box(std::string("Nothing was changed (") + refusalWord(answer->refusal) + ")", title, 0u);
  return false;
}

bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title) {
  return saveAsSupervisor(cells, title, vGatePassword);
}
