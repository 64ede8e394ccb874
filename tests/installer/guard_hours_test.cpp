// A protected install's guard as the backstop of the allowed hours, on the real clock: a session
// whose period ends is logged off by the guard a minute after the end, whatever its copy does.
#include <gtest/gtest.h>

#include "accounting/hours/allowed_hours.h"
#include "runtime/clock.h"
#include "tests/e2e/orrindale_process.h"
#include "tests/e2e/period_end.h"
#include "tests/installer/installer_fixture.h"

TEST_F(Installer, AProtectedInstallsGuardLogsOffASessionAMinuteAfterItsPeriodEndsWhileItsCopyIsSuspended) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  OrrindaleProcess copy(account, "ATHLON", "2", kProgram);
  ASSERT_TRUE(waitUntil([&] { return logHas(" - " + account + " - Process Started - User " + account); }, 20000));
  copy.suspend();
  ASSERT_TRUE(restartGuard({"--interval", "1"}));
  const int end = nextPeriodEnd();
  ASSERT_EQ(runAdmin("set-hours " + account + " all=00:00-" + clockText(end)), 0);

  // Wine has no session log-off: the guard's line says it could not, with the same reason.
  const std::string loggedOff = " - " + account + " - Guard logged off " + account + " - outside allowed hours";
  const std::string refused =
      " - " + account + " - Guard could not log off " + account + " - outside allowed hours (error 120)";
  auto guardActed = [&] { return logHas(loggedOff) || logHas(refused); };
  ASSERT_TRUE(waitUntil(
      [&] {
        const rt::LocalTime now = rt::localNow();
        const int minute = now.hour * 60 + now.minute;
        return (minute == end && now.second >= 5) || minute == (end + 1) % kMostMinutes;
      },
      90000));
  EXPECT_FALSE(guardActed()) << "past the end, the session is left to its copy's own log-off for a minute";
  EXPECT_TRUE(waitUntil(guardActed, 90000));
  EXPECT_EQ(copies().size(), 1u) << "the suspended copy is left alone";
}
