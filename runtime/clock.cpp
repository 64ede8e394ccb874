#include "runtime/clock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <ctime>
#include <thread>
#endif

namespace rt {
namespace {

#ifdef _WIN32
// The system's clock and time zone. The C runtime's localtime would follow a TZ variable,
// which any account may set in its own environment to move its date on.
LocalTime systemLocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wDayOfWeek};
}

// The platform's own counter and sleep: the C++ library's steady clock and sleep_for are built
// on its thread library, which the programs have no other use for.
long long systemSeconds() {
  return static_cast<long long>(GetTickCount64() / 1000);
}

void systemSleep(int seconds) {
  Sleep(static_cast<DWORD>(seconds) * 1000);
}

long long systemUniversalSeconds() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>(ticks / 10000000ULL) - 11644473600LL;  // from 1601 to 1970
}

ZoneChange zoneChangeOf(const SYSTEMTIME& when) {
  // A year other than 0 makes wDay the day of the month rather than the week.
  return {when.wMonth, when.wDayOfWeek, when.wYear == 0 ? when.wDay : 0, when.wYear == 0 ? 0 : when.wDay,
          when.wHour,  when.wMinute};
}

ZoneRule systemZoneRule() {
  TIME_ZONE_INFORMATION zone{};
  if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
    return {};
  return {static_cast<int>(zone.Bias), static_cast<int>(zone.StandardBias), static_cast<int>(zone.DaylightBias),
          zoneChangeOf(zone.StandardDate), zoneChangeOf(zone.DaylightDate)};
}
#else
LocalTime systemLocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
          parts.tm_min,         parts.tm_sec,     parts.tm_wday};
}

long long systemSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void systemSleep(int seconds) {
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
}

long long systemUniversalSeconds() {
  return static_cast<long long>(std::time(nullptr));
}

// The zone's offset now, without its summer time rules (only tests run here).
ZoneRule systemZoneRule() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {static_cast<int>(-parts.tm_gmtoff / 60), 0, 0, {}, {}};
}
#endif

constexpr ClockRoutines kSystemClock{systemLocalNow, systemSeconds, systemSleep, systemUniversalSeconds,
                                     systemZoneRule};
ClockRoutines vClock = kSystemClock;

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
long long daysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The day of the month on which a zone change falls in `year`.
int changeDay(const ZoneChange& change, int year) {
  if (change.day != 0)
    return change.day;
  const int firstWeekday = calendarTime(secondsOf(year, change.month, 1, 0, 0)).weekday;
  int day = 1 + (change.weekday - firstWeekday + 7) % 7 + 7 * (change.week - 1);
  // Week 5 is the last: a fifth that falls into the next month is the fourth.
  while (day > 28 && calendarTime(secondsOf(year, change.month, day, 0, 0)).month != change.month)
    day -= 7;
  return day;
}

// The universal time at which the change falls in `year`, read in local time of `biasMinutes`.
long long changeSeconds(const ZoneChange& change, int year, int biasMinutes) {
  return secondsOf(year, change.month, changeDay(change, year), change.hour, change.minute) + biasMinutes * 60LL;
}

}  // namespace

LocalTime localNow() {
  return vClock.localNow();
}
long long secondsNow() {
  return vClock.seconds();
}
void sleepSeconds(int seconds) {
  vClock.sleepSeconds(seconds);
}

long long universalNow() {
  return vClock.universalSeconds();
}
ZoneRule systemZone() {
  return vClock.systemZone();
}

LocalTime zoneTime(const ZoneRule& zone, long long universalSeconds) {
  const int standard = zone.bias + zone.standardBias;
  if (zone.daylightStart.month == 0 || zone.standardStart.month == 0)
    return calendarTime(universalSeconds - standard * 60LL);
  const int daylight = zone.bias + zone.daylightBias;
  const int year = calendarTime(universalSeconds - standard * 60LL).year;
  const long long begins = changeSeconds(zone.daylightStart, year, standard);
  const long long ends = changeSeconds(zone.standardStart, year, daylight);
  // South of the equator summer time spans the new year: it begins late in the year and ends early.
  const bool summer = begins < ends ? universalSeconds >= begins && universalSeconds < ends
                                    : universalSeconds >= begins || universalSeconds < ends;
  return calendarTime(universalSeconds - (summer ? daylight : standard) * 60LL);
}

void setClock(const ClockRoutines& routines) {
  vClock = routines;
}
ClockRoutines systemClock() {
  return kSystemClock;
}

LocalTime calendarTime(long long secondsSinceEpoch) {
  long long days = secondsSinceEpoch / 86400;
  long long rest = secondsSinceEpoch % 86400;
  if (rest < 0) {
    rest += 86400;
    days -= 1;
  }
  const long long z = days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  LocalTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  t.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  return t;
}

long long secondsOf(int year, int month, int day, int hour, int minute, int second) {
  return daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace rt
