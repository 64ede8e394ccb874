#include "accounting/minute_tick.h"

#include <array>
#include <compare>
#include <cstdio>

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "accounting/run_lines.h"
#include "accounting/ui_routines.h"
#include "accounting/usage_table.h"
#include "runtime/clock.h"
#include "runtime/processes.h"

std::string warningText(int minutesLeft) {
  return "Please save your work\nYou only have " + zeroPadded(minutesLeft, 3) + " minutes left";
}

void LogOffUser() {
  rt::runCommand("logoff");
}

void CheckTimeLeft(int left) {
  vSession.minutesLeft = left;
  if (vSession.debugLevel > 0)
    WriteLog("User " + vSession.userName + ", Time " + zeroPadded(left, 2));
  // The line is logged in every debug level: in normal use it is the supervisor's only sign
  // of a log-off at zero.
  if (left <= 0) {
    WriteLog("**** SYSTEM LOGOFF ****");
    if (vSession.debugLevel == 0) {
      logProcessEnded();
      LogOffUser();
    }
  }
}

namespace {
// The stored last-used date against today's, as whole dates: the day of the month alone
// would take the 6th of last month for today.
std::strong_ordering storedDayToToday(const UserRecord& user) {
  const std::array stored{readNumber(user.field(kLastYear)), readNumber(user.field(kLastMonth)),
                          readNumber(user.field(kLastDay))};
  const std::array today{readNumber(vStamp.year), readNumber(vStamp.month), vStamp.dayNumber};
  return stored <=> today;
}

// The clock now reads a date before the record's last use. The record keeps its later stamp,
// so every tick sees the same move: a run logs it once. (Another run that meets the same move
// logs it once more; the report counts a move once.)
void reportClockMovedBack(const UserRecord& user) {
  const std::string message = "**** CLOCK MOVED BACK from " + zeroPadded(readNumber(user.field(kLastDay)), 2) + "/" +
                              zeroPadded(readNumber(user.field(kLastMonth)), 2) + "/" +
                              zeroPadded(readNumber(user.field(kLastYear)), 4) + " " +
                              zeroPadded(readNumber(user.field(kLastHour)), 2) + ":" +
                              zeroPadded(readNumber(user.field(kLastMinute)), 2) + " ****";
  if (vSession.clockMoveReported == message)
    return;
  vSession.clockMoveReported = message;
  WriteLog(message);
}
}  // namespace

bool startsNewDay(const UserRecord& user) {
  return storedDayToToday(user) < 0;
}

// A new day begins only when today's date is later than the stored one. An earlier date means
// the clock moved back (a changed time zone moves the date across midnight): renewing then
// would hand out a fresh allowance at every move, so the stored minutes go on being spent.
void AccountMinute() {
  UserRecord& user = vTable.user(vSession.currentUser);
  // A negative count (typed into the grid, or copied from an allowance) leaves nothing, like
  // a spent one; taking one off the lowest number would wrap round to the highest.
  const int left = readNumber(user.field(kMinutesLeft));
  const int candidate = left > 0 ? left - 1 : 0;
  const std::strong_ordering stored = storedDayToToday(user);
  if (stored < 0) {
    user.field(kMinutesLeft) = user.field(kMachine + vStamp.weekday);
    WriteLog("New day allowance");
  } else {
    if (stored > 0)
      reportClockMovedBack(user);
    user.field(kMinutesLeft) = zeroPadded(candidate, 4);
    CheckTimeLeft(candidate);
  }
  if (stored > 0)
    user.field(kMachine) = vSession.machineName;  // the later date and time stay
  else
    stampUser(user);
}

void stampUser(UserRecord& user) {
  user.field(kMachine) = vSession.machineName;
  user.field(kLastYear) = vStamp.year;
  user.field(kLastMonth) = vStamp.month;
  user.field(kLastDay) = vStamp.day;
  user.field(kLastHour) = vStamp.hour;
  user.field(kLastMinute) = vStamp.minute;
}

void reportUnreadableDataFile() {
  if (vSession.debugLevel == 0)
    LogOffUser();
  else
    WriteLog("**** Can't Locate Log file " + vSession.userName + " ****");
}

void DoEachMin() {
  vUi.hideHostWindow();
  if (LoadData() == -1) {
    reportUnreadableDataFile();
    return;
  }
  MakeTimeStamp();
  if (vSession.currentUser != 0)
    AccountMinute();
  // A minute that cannot be saved would come back with the next reload, and a file that
  // cannot be written (read-only, disk full) would stop the count for good.
  if (!SaveData()) {
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
