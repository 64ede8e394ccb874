// The real clock's local time, which every day's allowance hangs on: on Windows the system's
// clock and zone, whatever TZ the account's own environment holds.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

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
