#include "tests/e2e/period_end.h"

#include "runtime/clock.h"
#include "tests/e2e/orrindale_process.h"

namespace {
constexpr int kLeastSecondsAhead = 15;
constexpr int kLastMinute = 1439;
}  // namespace

int nextPeriodEnd() {
  rt::LocalTime now;
  // The longest wait is from 23:58:46 to 00:00:01.
  waitUntil(
      [&] {
        now = rt::localNow();
        return now.second >= 1 && now.second <= 60 - kLeastSecondsAhead && now.hour * 60 + now.minute < kLastMinute;
      },
      120000);
  return now.hour * 60 + now.minute + 1;
}
