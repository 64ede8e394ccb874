// The real clock's local time, which every day's allowance hangs on: on Windows the system's
// clock and zone, whatever TZ the account's own environment holds; and a zone's local time at a
// moment of universal time, which allowed hours are read in.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "runtime/clock.h"
#include "runtime/processes.h"

TEST(SystemClock, LocalDateFollowsTheSystemZoneNotTheAccountsTz) {
#ifndef _WIN32
  GTEST_SKIP() << "POSIX takes its zone from TZ by design, and only tests run there";
#else
  rt::setClock(rt::systemClock());
  const std::string tz = rt::getEnv("TZ");
  rt::setEnv("TZ", "XXX-24");  // a zone a day ahead
  SYSTEMTIME before{}, after{};
  GetLocalTime(&before);
  const rt::LocalTime now = rt::localNow();
  GetLocalTime(&after);
  rt::setEnv("TZ", tz);
  // Midnight may pass between the readings.
  const auto date = [](int year, int month, int day, int weekday) { return std::tuple(year, month, day, weekday); };
  const auto local = date(now.year, now.month, now.day, now.weekday);
  EXPECT_TRUE(local == date(before.wYear, before.wMonth, before.wDay, before.wDayOfWeek) ||
              local == date(after.wYear, after.wMonth, after.wDay, after.wDayOfWeek))
      << now.day << "/" << now.month << "/" << now.year << " (weekday " << now.weekday << "), the system gives "
      << before.wDay << "/" << before.wMonth << "/" << before.wYear;
#endif
}

namespace {
// Central Europe: UTC+1, summer time from the last Sunday of March at 02:00 to the last Sunday of
// October at 03:00. Sydney: UTC+10, summer time from the first Sunday of October at 02:00 to the
// first Sunday of April at 03:00.
const rt::ZoneRule kEurope{-60, 0, -60, {10, 0, 5, 0, 3, 0}, {3, 0, 5, 0, 2, 0}};
const rt::ZoneRule kSydney{-600, 0, -60, {4, 0, 1, 0, 3, 0}, {10, 0, 1, 0, 2, 0}};

std::string localText(const rt::ZoneRule& zone, int year, int month, int day, int hour, int minute) {
  const rt::LocalTime t = rt::zoneTime(zone, rt::secondsOf(year, month, day, hour, minute));
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
  return text;
}
}  // namespace

TEST(ZoneTime, SummerTimeBeginsAndEndsAtTheZonesChangesNorthAndSouthOfTheEquator) {
  EXPECT_EQ(localText(kEurope, 2026, 1, 15, 12, 0), "2026-01-15 13:00");
  EXPECT_EQ(localText(kEurope, 2026, 3, 29, 0, 59), "2026-03-29 01:59") << "last Sunday of March, before 02:00";
  EXPECT_EQ(localText(kEurope, 2026, 3, 29, 1, 0), "2026-03-29 03:00");
  EXPECT_EQ(localText(kEurope, 2026, 10, 25, 0, 59), "2026-10-25 02:59");
  EXPECT_EQ(localText(kEurope, 2026, 10, 25, 1, 0), "2026-10-25 02:00") << "the hour from 02:00 comes twice";
  EXPECT_EQ(localText(kEurope, 2026, 12, 31, 23, 30), "2027-01-01 00:30");
  EXPECT_EQ(localText(kSydney, 2026, 1, 15, 0, 0), "2026-01-15 11:00") << "summer at the new year";
  EXPECT_EQ(localText(kSydney, 2026, 4, 4, 15, 59), "2026-04-05 02:59");
  EXPECT_EQ(localText(kSydney, 2026, 4, 4, 16, 0), "2026-04-05 02:00");
  EXPECT_EQ(localText(kSydney, 2026, 7, 1, 0, 0), "2026-07-01 10:00");
  EXPECT_EQ(localText(kSydney, 2026, 10, 3, 16, 0), "2026-10-04 03:00");
  EXPECT_EQ(localText(kSydney, 2026, 12, 31, 14, 0), "2027-01-01 01:00");
  // No summer time; the fifth Sunday of a month with four is its last; a day of the month.
  EXPECT_EQ(localText({300, 0, 0, {}, {}}, 2026, 7, 1, 3, 0), "2026-06-30 22:00");
  const rt::ZoneRule lastOfFebruary{0, 0, -60, {11, 0, 1, 0, 2, 0}, {2, 0, 5, 0, 2, 0}};
  EXPECT_EQ(localText(lastOfFebruary, 2026, 2, 22, 1, 59), "2026-02-22 01:59");
  EXPECT_EQ(localText(lastOfFebruary, 2026, 2, 22, 2, 0), "2026-02-22 03:00");
  const rt::ZoneRule byDay{0, 0, -60, {9, 0, 0, 21, 2, 0}, {3, 0, 0, 21, 2, 0}};
  EXPECT_EQ(localText(byDay, 2027, 3, 21, 2, 0), "2027-03-21 03:00");
  EXPECT_EQ(localText(byDay, 2027, 9, 21, 0, 59), "2027-09-21 01:59");
  EXPECT_EQ(localText(byDay, 2027, 9, 21, 1, 0), "2027-09-21 01:00");
}

#ifdef _WIN32
namespace {
SYSTEMTIME changeOf(const rt::ZoneChange& change) {
  SYSTEMTIME when{};
  when.wMonth = static_cast<WORD>(change.month);
  when.wDayOfWeek = static_cast<WORD>(change.weekday);
  when.wDay = static_cast<WORD>(change.week);
  when.wHour = static_cast<WORD>(change.hour);
  when.wMinute = static_cast<WORD>(change.minute);
  return when;
}
}  // namespace

TEST(ZoneTime, AgreesWithTheSystemsOwnConversionEveryQuarterHourOfAYearAndWithItsClockNow) {
  for (const rt::ZoneRule& zone : {kEurope, kSydney}) {
    TIME_ZONE_INFORMATION system{};
    system.Bias = zone.bias;
    system.StandardBias = zone.standardBias;
    system.DaylightBias = zone.daylightBias;
    system.StandardDate = changeOf(zone.standardStart);
    system.DaylightDate = changeOf(zone.daylightStart);
    int differing = 0;
    for (long long at = rt::secondsOf(2027, 1, 1, 0, 0); at < rt::secondsOf(2028, 1, 1, 0, 0); at += 900) {
      const rt::LocalTime utc = rt::calendarTime(at);
      SYSTEMTIME universal{static_cast<WORD>(utc.year),
                           static_cast<WORD>(utc.month),
                           static_cast<WORD>(utc.weekday),
                           static_cast<WORD>(utc.day),
                           static_cast<WORD>(utc.hour),
                           static_cast<WORD>(utc.minute),
                           0,
                           0};
      SYSTEMTIME local{};
      ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(&system, &universal, &local));
      const rt::LocalTime ours = rt::zoneTime(zone, at);
      if (std::tuple(ours.year, ours.month, ours.day, ours.hour, ours.minute) !=
              std::tuple(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute) &&
          ++differing <= 3)
        ADD_FAILURE() << "zone bias " << zone.bias << " at " << utc.year << "-" << utc.month << "-" << utc.day << " "
                      << utc.hour << ":" << utc.minute << " UTC: ours " << ours.hour << ":" << ours.minute
                      << ", the system's " << local.wHour << ":" << local.wMinute;
    }
  }
  rt::setClock(rt::systemClock());
  SYSTEMTIME before{}, after{};
  GetLocalTime(&before);
  const rt::LocalTime now = rt::zoneTime(rt::systemZone(), rt::universalNow());
  GetLocalTime(&after);
  const auto minuteOf = [](int day, int hour, int minute) { return std::tuple(day, hour, minute); };
  EXPECT_TRUE(minuteOf(now.day, now.hour, now.minute) == minuteOf(before.wDay, before.wHour, before.wMinute) ||
              minuteOf(now.day, now.hour, now.minute) == minuteOf(after.wDay, after.wHour, after.wMinute))
      << now.hour << ":" << now.minute << ", the system's " << before.wHour << ":" << before.wMinute;
}
#endif
