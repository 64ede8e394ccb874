#include "app_windows/password_gate.h"

#include <windows.h>

#include "accounting/data_file.h"
#include "accounting/password_hash.h"
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
  if (!passwordOpens(vTable.password, getText(PwEdit))) {
    message_box("Incorrect Password", "Enter Password", 0u);
    return;
  }
  read_Button(self, event, params);
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
  if (!passwordOpens(vTable.password, oldPassword)) {
    message_box("Wrong Password", kChangeTitle, 0u);
  } else if (newPassword != confirmation) {
    message_box("New passwords don't match", kChangeTitle, 0u);
  } else {
    // Stored as typed here; the save replaces it by its hash.
    vTable.password = newPassword;
    SaveData();
    message_box("Password changed", kChangeTitle, 0u);
  }
}
