#pragma once
// The clock the core reads: local date and time, a seconds counter and whole-second
// sleeps, universal time and the system's time zone, and a zone's local time at a moment.
// Tests install a simulated clock, so lock retries, time-outs and midnight take no real time.

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

// When a zone's summer time begins or ends, as the system states it: the `week`th `weekday`
// (0 for Sunday; week 5 is the last) of `month` at hour:minute local time, every year; a
// `day` other than 0 names the day of the month instead. Month 0: no summer time.
struct ZoneChange {
  int month = 0;
  int weekday = 0;
  int week = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  bool operator==(const ZoneChange&) const = default;
};

// A time zone as the system states it, in minutes: universal time = local time + bias
// (+ standardBias outside summer time, + daylightBias in it). Summer time begins at
// `daylightStart` (standard local time) and ends at `standardStart` (summer local time).
struct ZoneRule {
  int bias = 0;
  int standardBias = 0;
  int daylightBias = 0;
  ZoneChange standardStart;
  ZoneChange daylightStart;
  bool operator==(const ZoneRule&) const = default;
};

struct ClockRoutines {
  LocalTime (*localNow)();
  long long (*seconds)();
  void (*sleepSeconds)(int);
  long long (*universalSeconds)();  // seconds since 1 January 1970, universal time
  ZoneRule (*systemZone)();
};

LocalTime localNow();
long long secondsNow();
void sleepSeconds(int seconds);
long long universalNow();
// The zone the system keeps now; any account may change it.
ZoneRule systemZone();
// The local time in `zone` at `universalSeconds`.
LocalTime zoneTime(const ZoneRule& zone, long long universalSeconds);

void setClock(const ClockRoutines& routines);
// The routines of the real clock, to install again or to build a partly simulated clock from.
ClockRoutines systemClock();

// Calendar date and time of a count of seconds since 1 January 1970, without time zones:
// what a simulated clock reports as local time.
LocalTime calendarTime(long long secondsSinceEpoch);
// The inverse, for tests that start the simulated clock at a given moment.
long long secondsOf(int year, int month, int day, int hour, int minute, int second = 0);

}  // namespace rt
