#pragma once
// The clock the core reads: local date and time, a seconds counter and whole-second
// sleeps. Tests install a simulated clock, so lock retries, time-outs and midnight
// take no real time.

namespace rt {

struct LocalTime {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 4;  // 0 for Sunday
};

struct ClockRoutines {
  LocalTime (*localNow)();
  long long (*seconds)();
  void (*sleepSeconds)(int);
};

LocalTime localNow();
long long secondsNow();
void sleepSeconds(int seconds);

void setClock(const ClockRoutines& routines);
// The routines of the real clock, to install again or to build a partly simulated clock from.
ClockRoutines systemClock();

// Calendar date and time of a count of seconds since 1 January 1970, without time zones:
// what a simulated clock reports as local time.
LocalTime calendarTime(long long secondsSinceEpoch);
// The inverse, for tests that start the simulated clock at a given moment.
long long secondsOf(int year, int month, int day, int hour, int minute, int second = 0);

}  // namespace rt
