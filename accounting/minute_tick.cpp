#include "accounting/minute_tick.h"

#include <cstdio>

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "accounting/guard_link.h"
#include "accounting/log_texts.h"
#include "accounting/run_lines.h"
#include "accounting/table_rules.h"
#include "accounting/ui_routines.h"
#include "accounting/usage_table.h"
#include "runtime/clock.h"
#include "runtime/processes.h"

std::string warningText(int minutesLeft) {
  return "Please save your work\nYou only have " + zeroPadded(minutesLeft, 3) + " minutes left";
}

void LogOffUser() {
  // In quotes: the system folder's path may hold spaces.
  rt::runCommand("\"" + rt::systemProgram("logoff") + "\"");
}

void CheckTimeLeft(int left) {
  vSession.minutesLeft = left;
  if (vSession.debugLevel > 0)
    WriteLog("User " + vSession.userName + ", Time " + zeroPadded(left, 2));
  // The line is logged in every debug level: in normal use it is the supervisor's only sign
  // of a log-off at zero.
  if (left <= 0) {
    WriteLog(kSystemLogoffLine);
    if (vSession.debugLevel == 0) {
      logProcessEnded();
      LogOffUser();
    }
  }
}

namespace {
// The clock now reads a date before the record's last use. The record keeps its later stamp,
// so every tick sees the same move: a run logs it once. (Another run that meets the same move
// logs it once more; the report counts a move once.)
void reportClockMovedBack(const UserRecord& user) {
  const std::string message = clockMovedBackText(user);
  if (vSession.clockMoveReported == message)
    return;
  vSession.clockMoveReported = message;
  WriteLog(message);
}
}  // namespace

void AccountMinute() {
  UserRecord& user = vTable.user(vSession.currentUser);
  const CountedMinute minute = countMinute(user, vStamp, vSession.machineName);
  if (minute.kind == MinuteKind::NewDay) {
    WriteLog("New day allowance");
    return;
  }
  if (minute.kind == MinuteKind::ClockMovedBack)
    reportClockMovedBack(user);
  CheckTimeLeft(minute.left);
}

void reportUnreadableDataFile() {
  if (vSession.debugLevel == 0)
    LogOffUser();
  else
    WriteLog("**** Can't Locate Log file " + vSession.userName + " ****");
}

namespace {
// Reload, count, save. False when the minute was not counted and kept: a minute that cannot be
// saved would come back with the next reload, and a file that cannot be written (read-only, disk
// full) would stop the count for good.
bool countAndKeepMinute() {
  if (LoadData() == -1)
    return false;
  MakeTimeStamp();
  if (vSession.currentUser != 0)
    AccountMinute();
  return SaveData();
}

// In a protected install the guard charges the minutes; the copy reads those left and does the
// rest from them. A guard that does not answer is waited for: the copy logs off only once it has
// been silent for minutes. False when this tick has nothing more to do.
bool minutesOfGuard() {
  int left = 0;
  switch (minutesFromGuard(left)) {
    case GuardMinutes::Left:
      CheckTimeLeft(left);
      return true;
    case GuardMinutes::NotInTable:
      return true;
    case GuardMinutes::NoTable:
      reportUnreadableDataFile();
      return false;
    case GuardMinutes::Silent:
      if (rt::secondsNow() - vSession.guardSilentSince >= kGuardSilentSeconds)
        reportUnreadableDataFile();
      return false;
  }
  return false;
}
}  // namespace

void DoEachMin() {
  vUi.hideHostWindow();
  if (vSession.guarded) {
    if (!minutesOfGuard())
      return;
  } else if (!countAndKeepMinute()) {
    reportUnreadableDataFile();
    return;
  }
  if (vSession.currentUser != 0)
    vUi.drawTrayMinutes(0);
  // Each flag is set before its box opens: the box is modal, and the ticks that run
  // inside it must not open the same warning again.
  if (vSession.minutesLeft < kFirstWarningBelow && !vSession.firstWarningShown) {
    vSession.firstWarningShown = 1;
    vUi.messageBox(warningText(vSession.minutesLeft), kProductName);
  }
  if (vSession.minutesLeft < kSecondWarningBelow && !vSession.secondWarningShown) {
    vSession.secondWarningShown = 1;
    vUi.messageBox(warningText(vSession.minutesLeft), kProductName);
  }
}

void Tic() {
  vUi.hideHostWindow();
  const rt::LocalTime now = rt::localNow();
  vUi.setStatusText(1, "User: " + vSession.userName);
  const char* form = vSession.BlinkPhase == 1 ? "Time: %02d:%02d" : "Time: %02d %02d";
  char clock[32];
  std::snprintf(clock, sizeof clock, form, now.hour, now.minute);
  vUi.setStatusText(3, clock);
  vSession.BlinkPhase = vSession.BlinkPhase == 1 ? 0 : 1;
  if (vSession.minutesLeft < kTrayFlashBelow)
    vUi.drawTrayMinutes(1);
}
