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
#endif

constexpr ClockRoutines kSystemClock{systemLocalNow, systemSeconds, systemSleep};
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
