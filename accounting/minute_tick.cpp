#include "accounting/minute_tick.h"

#include <cstdio>

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "accounting/ui_routines.h"
#include "accounting/usage_table.h"
#include "runtime/clock.h"
#include "runtime/process.h"

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
  if (left <= 0) {
    if (vSession.debugLevel == 0)
      LogOffUser();
    else
      WriteLog("**** SYSTEM LOGOFF ****");
  }
}

namespace {
// A day is new when the stored year, month or day of the month differs from today's:
// the day of the month alone would take the 6th of last month for today.
bool sameDay(const UserRecord& user) {
  return readNumber(user.field(kLastDay)) == vStamp.dayNumber &&
         readNumber(user.field(kLastMonth)) == readNumber(vStamp.month) &&
         readNumber(user.field(kLastYear)) == readNumber(vStamp.year);
}
}  // namespace

void AccountMinute() {
  UserRecord& user = vTable.user(vSession.currentUser);
  // A negative count (typed into the grid, or copied from an allowance) leaves nothing, like
  // a spent one; taking one off the lowest number would wrap round to the highest.
  const int stored = readNumber(user.field(kMinutesLeft));
  const int candidate = stored > 0 ? stored - 1 : 0;
  if (sameDay(user)) {
    user.field(kMinutesLeft) = zeroPadded(candidate, 4);
    CheckTimeLeft(candidate);
  } else {
    user.field(kMinutesLeft) = user.field(kMachine + vStamp.weekday);
    WriteLog("New day allowance");
  }
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
