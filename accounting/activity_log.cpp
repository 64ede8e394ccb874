#include "accounting/activity_log.h"

#include <cstdio>

#include "accounting/table_home.h"
#include "accounting/usage_table.h"
#include "runtime/clock.h"
#include "runtime/processes.h"

TimeStamp vStamp;

std::string zeroPadded(int number, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*d", width, number);
  return text;
}

void MakeTimeStamp() {
  const rt::LocalTime now = rt::localNow();
  vStamp.year = zeroPadded(now.year, 4);
  vStamp.month = zeroPadded(now.month, 2);
  vStamp.day = zeroPadded(now.day, 2);
  vStamp.hour = zeroPadded(now.hour, 2);
  vStamp.minute = zeroPadded(now.minute, 2);
  vStamp.weekday = now.weekday + 1;
  vStamp.dayNumber = now.day;
}

void WriteLog(const std::string& message) {
  MakeTimeStamp();
  const std::string line = vStamp.day + "/" + vStamp.month + "/" + vStamp.year + " " + vStamp.hour + ":" +
                           vStamp.minute + " - " + storableText(vSession.userName) + " - " + storableText(message) +
                           "\n";
  if (vSession.debugLevel == 1) {
    rt::writeStdout(line);
    return;
  }
  vHome.writeLine(line, message);
}

void WriteLogAs(const std::string& user, const std::string& message) {
  const std::string own = vSession.userName;
  vSession.userName = user;
  WriteLog(message);
  vSession.userName = own;
}
