#include "accounting/program/startup.h"

#include <array>

#include "accounting/log/activity_log.h"
#include "accounting/data_file/file_home.h"
#include "accounting/guard_link/guard_link.h"
#include "accounting/log/log_texts.h"
#include "accounting/program/minute_tick.h"
#include "accounting/log/run_lines.h"
#include "accounting/table/table_rules.h"
#include "accounting/program/ui_routines.h"
#include "accounting/table/usage_table.h"
#include "runtime/clock.h"
#include "runtime/processes.h"

namespace {
struct KnownMachine {
  const char* name;
  int number;
};
constexpr std::array<KnownMachine, 3> kKnownMachines{{{"DAD", 0}, {"PENTIUM4", 1}, {"ATHLON", 2}}};
constexpr int kUnknownMachine = -1;
constexpr int kRefusalPauseSeconds = 2;

// In normal use a refused account is logged off; in test mode the program says why and
// ends, so that a test run never carries on without a user.
int refuseNewUser() {
  if (vSession.debugLevel == 0) {
    LogOffUser();
    return 0;
  }
  WriteLog(vTable.option(kNewUserFlag));
  WriteLog("**** Unregistered User with no update allowed - " + vSession.userName + " ****");
  rt::sleepSeconds(kRefusalPauseSeconds);
  rt::exitProcess(1);
}

// No slot for the account: the message box, and the log-off in normal use.
int noFreeSlot() {
  vUi.messageBox("It has not been possible to\ncreate the new user " + vSession.userName, "New user");
  if (vSession.debugLevel == 0)
    LogOffUser();
  else
    WriteLog("No Space left ");
  return 0;
}

int admitted(int slot) {
  vUi.messageBox("New user " + vSession.userName + " has been created\nUsing default time settings", "New user");
  return slot;
}
}  // namespace

FixedPaths vFixedPaths;

void SetPaths() {
  vSession.dataFilePath = vFixedPaths.dataFile;
  vSession.logPath = vFixedPaths.log;
  vSession.debugLevel = readNumber(rt::argument(1));
  // The one place the program asks where its table lives.
  vHome = vFixedPaths.protectedInstall() ? kGuardHome : kDataFileHome;
}

std::string IdentifyUser() {
  // In a protected install the guard names the account, from this process's token: USERNAME is
  // the account's to set.
  const std::string name = vSession.guardAccount.empty() ? rt::getEnv("USERNAME") : vSession.guardAccount;
  vSession.currentUser = accountSlot(vTable, name);
  // A guard that has not answered yet has not said whose table this is: the minute tick asks
  // again, and the guard itself meets an account it has no slot for.
  if (vSession.guardSilentSince >= 0)
    return name;
  // Logged in every debug level: in normal use it is the supervisor's only sign of an
  // account that was refused.
  if (vSession.currentUser == 0) {
    WriteLog(std::string(kInvalidUserLine) + name + kLineStars);
    if (vSession.debugLevel == 0)
      LogOffUser();
  }
  return name;
}

int IdentifyMachine() {
  vSession.machineName = rt::getEnv("COMPUTERNAME");
  int number = kUnknownMachine;
  for (const KnownMachine& machine : kKnownMachines)
    if (vSession.machineName == machine.name)
      number = machine.number;
  WriteLog(kMachineLine + vSession.machineName + ", Number " + zeroPadded(number, 2));
  return number;
}

int AddNewUser() {
  if (vSession.userName.empty())
    return refuseNewUser();
  int slot = 0;
  switch (vHome.admit(slot)) {
    case Admission::Admitted:
      return admitted(slot);
    case Admission::NewUsersRefused:
      return refuseNewUser();
    case Admission::NoFreeSlot:
      return noFreeSlot();
    case Admission::NotKept:
      break;
  }
  reportUnreadableDataFile();
  return 0;
}

void Startup() {
  InstallDefaults();
  SetPaths();
  const TableLoad loaded = vHome.load();
  // A guard that does not answer yet is waited for by the minute tick; a table that cannot be
  // read logs off.
  if (loaded == TableLoad::Missing || loaded == TableLoad::Damaged)
    reportUnreadableDataFile();
  vSession.userName = IdentifyUser();
  IdentifyMachine();
  if (vSession.currentUser == 0 && loaded != TableLoad::Silent)
    vSession.currentUser = AddNewUser();
  // The start-up minute, kept like any other; a table that was not read has been reported
  // already. Where the guard keeps the table, it charges the minute: the copy reads what is left.
  if (loaded != TableLoad::Silent) {
    const MinuteOutcome minute = vHome.minute();
    if (minute.kind != MinuteOutcome::NotKept || loaded == TableLoad::Loaded)
      AccountMinute(minute);
  }
  if (vSession.currentUser != 0)
    vUi.drawTrayMinutes(0);
  vUi.buildUpdateTab();
  vUi.buildOptionsTab();
  logProcessStarted();
  vUi.startTimer(TimerOwner::HostWindow, kMinuteTimer, kMinuteIntervalMs);
  vUi.startTimer(TimerOwner::MainWindow, kSecondTimer, kSecondIntervalMs);
  vUi.trayShow();
  vUi.divideStatusBar({0.2, 0.6, 0.2});
  vUi.setStatusText(2, kStatusCredit);
  vUi.setStatusText(3, "Time:");
  vUi.loadAppIcon();
  // A logon outside the account's allowed hours is logged off at once. Last, with the timers
  // running: a warning of the period's end waits in its box for an answer, and the minutes and
  // the log-off at the end must not wait with it.
  if (loaded != TableLoad::Silent)
    CheckAllowedHours();
}
