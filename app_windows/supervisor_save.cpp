#include "app_windows/supervisor_save.h"

#include <algorithm>

#include "accounting/hours/supervisor_hours.h"
#include "accounting/table/table_home.h"
#include "gui/message_box.h"

namespace {
// The password that opened the gate: in a protected install the guard takes the supervisor's
// changes only with it, so a window shown without the gate saves nothing.
std::string vGatePassword;

// True when saved, else false after a message box with the title that says why not.
bool kept(const SaveOutcome& saved, const std::string& title) {
  switch (saved.kind) {
    case SaveOutcome::Saved:
      return true;
    case SaveOutcome::Silent:
      message_box(kNoGuard, title, 0u);
      break;
    case SaveOutcome::WrongPassword:
      message_box("Nothing was changed: the supervisor password was not given at the password window", title, 0u);
      break;
    case SaveOutcome::NotAdministrator:
    case SaveOutcome::NotKept:
      message_box("Nothing was changed (" + saved.why + ")", title, 0u);
      break;
  }
  return false;
}
}  // namespace

void rememberGatePassword(const std::string& typed) {
  vGatePassword = typed;
}

void forgetGatePassword(int, int, const EventParams&) {
  std::fill(vGatePassword.begin(), vGatePassword.end(), '\0');
  vGatePassword.clear();
}

bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title, const std::string& password) {
  return kept(vHome.saveCells(cells, password), title);
}

bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title) {
  return saveAsSupervisor(cells, title, vGatePassword);
}

bool saveHoursAsSupervisor(const std::string& account, const AllowedHours& hours, const std::string& title) {
  return kept(vHome.saveSupervisorHours(account, hours, hoursSetSentence(account, hours), vGatePassword), title);
}
