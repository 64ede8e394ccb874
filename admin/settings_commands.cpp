// The administration tool's commands for the table's settings: init, which writes a first
// data file, set-password, allow-new-users and set-defaults.
#include <cstdio>
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/command_line.h"
#include "admin/password.h"
#include "admin/table_file.h"
#include "admin/value_checks.h"
#include "runtime/file.h"

namespace {
// The new password: the whole standard input with --password-stdin, otherwise typed twice at
// the terminal. Asked before the file is loaded, so that typing takes no time between the
// load and the save of the change.
std::string newPassword(const Invocation& call, std::string& password) {
  Console& console = *call.console;
  if (call.has("--password-stdin"))
    return readPasswordLine(console.in, password);
  if (!console.interactive)
    return "standard input is not a terminal: give the password on it with --password-stdin";
  return askPasswordTwice(console.err, password);
}

std::string newUsersText(bool allowed) {
  return allowed ? "new users allowed" : "new users refused";
}

int init(const Invocation& call) {
  Console& console = *call.console;
  const std::string& path = vSession.dataFilePath;
  bool allowed = true;
  if (call.has("--allow-new-users")) {
    const std::string problem = yesNoProblem(call.value("--allow-new-users"), allowed);
    if (!problem.empty())
      return refuseUsage(call, problem);
  }
  const bool exists = rt::TextFile(path, rt::OpenMode::Read).isOpen();
  if (exists && !call.has("--force")) {
    console.err << "orrindale-admin: " << path << " already exists; --force replaces it with a fresh one\n";
    return kExitUsage;
  }
  std::string password;
  const std::string problem = newPassword(call, password);
  if (!problem.empty()) {
    console.err << "orrindale-admin: " << problem << "; nothing was written\n";
    return kExitUsage;
  }
  // Where the table lives makes the file when it is not there yet.
  InstallDefaults();
  vTable.password = password;
  setNewUsersAllowed(vTable, allowed);
  const std::string done = std::string(exists ? "data file replaced by a fresh one" : "fresh data file written") +
                           ", " + newUsersText(allowed);
  if (!saveForCommand(console, SaveOver::AnyContent, {done}))
    return kExitFile;
  confirm(console, {done});
  return kExitDone;
}

int setPassword(const Invocation& call) {
  std::string password;
  const std::string problem = newPassword(call, password);
  if (!problem.empty()) {
    call.console->err << "orrindale-admin: " << problem << "; nothing was changed\n";
    return kExitUsage;
  }
  return changeTable(*call.console, [&] {
    vTable.password = password;
    return Change{{"supervisor password changed"}, ""};
  });
}

int allowNewUsers(const Invocation& call) {
  bool allowed = false;
  const std::string problem = yesNoProblem(call.operands[0], allowed);
  if (!problem.empty())
    return refuseUsage(call, problem);
  return changeTable(*call.console, [&] {
    setNewUsersAllowed(vTable, allowed);
    return Change{{newUsersText(allowed)}, ""};
  });
}

int setDefaults(const Invocation& call) {
  std::vector<DayMinutes> entries;
  const std::string problem = dayMinutesListProblem(call.operands, entries);
  if (!problem.empty())
    return refuseUsage(call, problem);
  return changeTable(*call.console, [&] {
    Change change;
    for (const DayMinutes& entry : entries) {
      for (int day : daysOf(entry))
        vTable.defaultAllowance(day) = std::to_string(entry.minutes);
      change.done.push_back("default allowance set for " + daysText(entry) + " to " + std::to_string(entry.minutes));
    }
    return change;
  });
}
}  // namespace

void addSettingsCommands(std::vector<AdminCommand>& table) {
  table.push_back({"init",
                   "--password-stdin [--allow-new-users yes|no] [--force]",
                   "writes a fresh data file: default content, the given password (refuses to replace a file "
                   "without --force)",
                   0,
                   0,
                   {{"--password-stdin", ""}, {"--allow-new-users", "yes|no"}, {"--force", ""}},
                   init});
  table.push_back({"set-password",
                   "[--password-stdin]",
                   "sets the supervisor password (asked twice without echo at a terminal)",
                   0,
                   0,
                   {{"--password-stdin", ""}},
                   setPassword});
  table.push_back({"allow-new-users",
                   "yes|no",
                   "whether accounts that are not in the table get a free slot",
                   1,
                   1,
                   {},
                   allowNewUsers});
  table.push_back(
      {"set-defaults", "DAY=MINUTES...", "the allowances a new user starts with", 1, kAnyNumber, {}, setDefaults});
}
