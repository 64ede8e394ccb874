#include "admin/admin.h"

#include "accounting/data_file/file_home.h"
#include "accounting/guard_link/guard_link.h"
#include "accounting/program/startup.h"
#include "accounting/table/usage_table.h"
#include "admin/admin_log.h"
#include "admin/command_line.h"
#include "admin/table_file.h"

#ifndef ORRINDALE_VERSION
#error "the build defines ORRINDALE_VERSION"
#endif

namespace {
// The session of a tool run: the files the options name and the account that ran the tool,
// for the log's user column. In a protected install the guard keeps the installed data file
// and the log, and the tool asks it; a file named with --file is the tool's own.
void startSession(const Invocation& call) {
  resetSession();
  InstallDefaults();
  vSession.dataFilePath = call.has("--file") ? call.value("--file") : vFixedPaths.dataFile;
  vSession.logPath = call.has("--log") ? call.value("--log") : logBeside(vSession.dataFilePath);
  // The one place the tool asks where its table lives.
  vHome = !call.has("--file") && vFixedPaths.protectedInstall() ? kGuardHome : kDataFileHome;
  vSession.userName = accountRunningTool();
  reportLockTimeOutOn(call.console->err);
}
}  // namespace

int runAdmin(const std::vector<std::string>& args, Console& console) {
  Invocation call;
  call.console = &console;
  std::string problem = parseCommandLine(args, call);
  if (problem.empty() && call.has("--version")) {
    console.out << "orrindale-admin " ORRINDALE_VERSION "\n";
    return kExitDone;
  }
  if (problem.empty() && call.has("--help")) {
    console.out << (call.command ? commandUsage(*call.command) + "    " + call.command->summary + "\n" : usageText());
    return kExitDone;
  }
  if (problem.empty() && !call.command)
    problem = "no command given";
  if (problem.empty())
    problem = operandProblem(call);
  if (!problem.empty()) {
    console.err << "orrindale-admin: " << problem << "\n" << (call.command ? commandUsage(*call.command) : usageText());
    return kExitUsage;
  }
  startSession(call);
  return call.command->run(call);
}
