#include "accounting/program/minute_tick.h"

#include <cstdio>

#include "accounting/hours/hours_book.h"
#include "accounting/log/activity_log.h"
#include "accounting/guard_link/guard_link.h"
#include "accounting/table/table_home.h"
#include "accounting/log/log_texts.h"
#include "accounting/log/run_lines.h"
#include "accounting/program/request_watch.h"
#include "accounting/table/table_rules.h"
#include "accounting/program/ui_routines.h"
#include "accounting/table/usage_table.h"
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

void AccountMinute(const MinuteOutcome& minute) {
  switch (minute.kind) {
    case MinuteOutcome::NewDay:
      WriteLog("New day allowance");
      return;
    case MinuteOutcome::ClockMovedBack:
      reportClockMovedBack(vTable.user(vSession.currentUser));
      [[fallthrough]];
    case MinuteOutcome::Counted:
    case MinuteOutcome::Read:
      CheckTimeLeft(minute.left);
      return;
    case MinuteOutcome::NotInTable:
      return;
    case MinuteOutcome::NotKept:
      reportUnreadableDataFile();
      return;
    case MinuteOutcome::Silent:
      // A guard that does not answer is waited for: the copy logs off only once it has been
      // silent for minutes.
      if (rt::secondsNow() - vSession.guardSilentSince >= kGuardSilentSeconds)
        reportUnreadableDataFile();
      return;
  }
}

namespace {
// The warnings of the end of a period given so far, one of each per end.
HoursWarningsShown vHoursWarnings;
}  // namespace

void CheckAllowedHours() {
  // An account at zero has been logged off already.
  if (vSession.currentUser == 0 || vSession.minutesLeft <= 0)
    return;
  HoursBook book;
  const HoursLoad loaded = vHome.loadHours(book);
  // Hours that could not be asked for this minute are asked for again at the next.
  if (loaded.kind == HoursLoad::NotKept || loaded.kind == HoursLoad::Silent)
    return;
  MakeTimeStamp();
  const std::string& account = vTable.user(vSession.currentUser).field(kAccount);
  if (const std::string answer = watchRequest(book, account, dateNumber(vStamp)); !answer.empty())
    vUi.showBalloon(kProductName, answer);
  const Moment moment = hoursMoment(book, vStamp);
  const HoursNow now = hoursAt(hoursOf(book, account), moment, extensionOf(book, account, moment.date));
  vSession.hoursUntil = untilText(timeLeftToday(vSession.minutesLeft, now));
  if (!now.inside) {
    WriteLog(kOutsideHoursLine);
    if (vSession.debugLevel == 0) {
      logProcessEnded();
      LogOffUser();
    }
    return;
  }
  if (hoursWarningDue(now, vSession.minutesLeft, vHoursWarnings) != HoursWarning::None)
    vUi.messageBox(logOffText(now), kProductName);
}

void reportUnreadableDataFile() {
  if (vSession.debugLevel == 0)
    LogOffUser();
  else
    WriteLog("**** Can't Locate Log file " + vSession.userName + " ****");
}

void DoEachMin() {
  vUi.hideHostWindow();
  const MinuteOutcome minute = vHome.minute();
  AccountMinute(minute);
  if (minute.kind == MinuteOutcome::NotKept || minute.kind == MinuteOutcome::Silent)
    return;
  CheckAllowedHours();
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
