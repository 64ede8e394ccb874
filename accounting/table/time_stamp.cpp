#include "accounting/table/time_stamp.h"

#include <cstdio>

#include "runtime/clock.h"

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
