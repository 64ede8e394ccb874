#include "app_windows/supervisor_save.h"

#include <algorithm>

#include "accounting/table/table_home.h"
#include "gui/message_box.h"

namespace {
// The password that opened the gate: in a protected install the guard takes the supervisor's
// changes only with it, so a window shown without the gate saves nothing.
std::string vGatePassword;
}  // namespace

void rememberGatePassword(const std::string& typed) {
  vGatePassword = typed;
}

void forgetGatePassword(int, int, const EventParams&) {
  std::fill(vGatePassword.begin(), vGatePassword.end(), '\0');
  vGatePassword.clear();
}

bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title, const std::string& password) {
  const SaveOutcome saved = vHome.saveCells(cells, password);
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

bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title) {
  return saveAsSupervisor(cells, title, vGatePassword);
}
