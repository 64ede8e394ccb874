// A protected install under Wine: the guard keeps the table and the log, and the copies and the
// administration tool only ask it. What a child's account would try is done from the test (Wine
// enforces no folder rights and runs every program as one account): a file changed or deleted
// behind the guard's back, a window shown without the password, a copy left without its guard, a
// copy in test mode at zero and a suspended copy.
#include <gtest/gtest.h>

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "accounting/guard_protocol.h"
#include "accounting/password_hash.h"
#include "accounting/table_rules.h"
#include "runtime/clock.h"
#include "tests/e2e/user_steps.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"
#include "tests/installer/installer_fixture.h"

namespace {

// A slot's minutes left as the data file holds them now; "" while it cannot be read.
std::string minutesInFile(int slot) {
  vSession.dataFilePath = kDataFile;
  vSession.logPath = test_files::tempPath("core.log");
  std::vector<std::string> fields;
  if (readDataFile(fields, LockWait::TryOnce) != LoadProblem::None)
    return "";
  return fields.at(tableField(slot, kMinutesLeft) - 1);
}

HWND visibleButton(HWND window, const std::string& caption) {
  for (HWND button : controlsOf(window, "Button", caption))
    if (IsWindowVisible(button))
      return button;
  return nullptr;
}

}  // namespace

TEST_F(Installer, AProtectedInstallsGuardCountsTheMinutesAndPutsBackAFileChangedOrDeletedBehindIt) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  EXPECT_EQ(machineNumber("Software\\Orrindale", "Protected"), 1u);
  EXPECT_TRUE(isPasswordHash(storedTable().password));
  ASSERT_EQ(runAdmin("add-user kid all=30"), 0);
  ASSERT_EQ(runAdmin("grant kid 15"), 0);
  EXPECT_TRUE(logHas(" - " + account + " - Admin tool - 15 minutes granted to kid, 45 left today"))
      << "through the guard, under the tool's token";
  ASSERT_TRUE(restartGuard({"--believe-named-accounts", "--interval", "1"}));

  OrrindaleProcess kid("kid", "ATHLON", "2", kProgram);
  ASSERT_TRUE(waitUntil([] { return logHas(" - kid - Process Started - User kid"); }, 20000));
  EXPECT_EQ(minutesInFile(2), "0044") << "the start-up minute";
  minuteTick(kid);
  ASSERT_TRUE(waitUntil([] { return minutesInFile(2) == "0043"; }));

  UsageTable raised = storedTable();
  raised.user(2).field(kMinutesLeft) = "0500";
  writeBehindTheGuard(raised);
  EXPECT_TRUE(waitUntil([] { return minutesInFile(2) == "0043"; }, 5000)) << "put back within one look";
  test_files::remove(kDataFile);
  EXPECT_TRUE(waitUntil([] { return minutesInFile(2) == "0043"; }, 5000));
  EXPECT_EQ(logCount(" - Guard - **** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****"), 2);
}

TEST_F(Installer, AProtectedInstallsAdministrationWindowSavesOnlyWithThePasswordTypedAtItsGate) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(runAdmin("add-user kid all=30"), 0);
  ASSERT_TRUE(restartGuard({"--believe-named-accounts"}));
  OrrindaleProcess kid("kid", "ATHLON", "2", kProgram);
  ASSERT_TRUE(waitUntil([] { return logHas(" - kid - Process Started - User kid"); }, 20000));

  // Shown from another program, without the password: Apply is refused and logged.
  HWND main = kid.window(kMainWindow);
  ShowWindow(main, SW_SHOW);
  chooseMenu(main, 't', 'm');
  ASSERT_TRUE(waitUntil([&] { return gridCell(main, 2, 1) != nullptr; }));
  typeInto(gridCell(main, 2, 1), "900");
  click(visibleButton(main, "Apply"));
  EXPECT_EQ(answerBox(kid, "Update data"),
            "Nothing was changed: the supervisor password was not given at the password window");
  EXPECT_EQ(minutesInFile(2), "30") << "the start-up minute began the day";
  EXPECT_TRUE(logHas(" - kid - Administration window - changes refused: wrong password"));
  ShowWindow(main, SW_HIDE);

  // Through the gate: only the changed cell goes, over the minutes counted meanwhile.
  ASSERT_TRUE(openAdministration(kid, "s3cret"));
  chooseMenu(main, 't', 'm');
  ASSERT_TRUE(waitUntil([&] { return gridCell(main, 2, 2) != nullptr; }));
  minuteTick(kid);
  ASSERT_TRUE(waitUntil([] { return minutesInFile(2) == "0029"; }));
  typeInto(gridCell(main, 2, 2 + rt::localNow().weekday), "75");
  click(visibleButton(main, "Apply"));
  EXPECT_TRUE(waitUntil([] {
    return logHas(" - kid - Administration window - User 2 " + std::string(dayName(rt::localNow().weekday + 1)) +
                  " = 75");
  }));
  EXPECT_EQ(minutesInFile(2), "0029") << "the window read 30, which is not given back";
  EXPECT_EQ(storedTable().user(2).allowance(rt::localNow().weekday + 1), "75");

  // Closed by the supervisor, the window forgets the password: shown again from outside, it saves nothing.
  chooseMenu(main, 'f', 'x');  // File, Exit
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
  ShowWindow(main, SW_SHOW);
  typeInto(gridCell(main, 2, 1), "900");
  click(visibleButton(main, "Apply"));
  EXPECT_EQ(answerBox(kid, "Update data"),
            "Nothing was changed: the supervisor password was not given at the password window");
  EXPECT_EQ(minutesInFile(2), "0029");
}

TEST_F(Installer, AProtectedInstallsOrrindaleLogsOffWhenItsGuardDoesNotAnswer) {
  logoff_stub::install();
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(rt::runCommand(inQuotes(kGuard) + " --stop"), 0);
  const std::string data = test_files::readBytes(kDataFile);
  const std::string log = test_files::readBytes(kLogFile);
  OrrindaleProcess own(account, "ATHLON", "0", kProgram);
  EXPECT_TRUE(waitUntil([] { return logoff_stub::runs() >= 1; }, 30000)) << "fails closed after its wait";
  EXPECT_EQ(test_files::readBytes(kDataFile), data);
  EXPECT_EQ(test_files::readBytes(kLogFile), log) << "the copy never writes the log itself";
}

TEST_F(Installer, AProtectedInstallsGuardLogsOffAnAccountAtZeroWhateverItsCopyDoes) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(rt::runCommand(inQuotes(kGuard) + " --stop"), 0);
  UsageTable spent = storedTable();
  const rt::LocalTime now = rt::localNow();
  UserRecord& own = spent.user(1);
  own.field(kMinutesLeft) = "0000";
  own.field(kLastYear) = zeroPadded(now.year, 4);
  own.field(kLastMonth) = zeroPadded(now.month, 2);
  own.field(kLastDay) = zeroPadded(now.day, 2);
  writeBehindTheGuard(spent);

  // A copy in test mode never logs off; it counts through the guard, which logs the session off.
  OrrindaleProcess copy(account, "ATHLON", "2", kProgram);
  ASSERT_TRUE(startService({"--interval", "1", "--no-minutes-wait", "2", "--grace", "1"}));
  EXPECT_TRUE(waitUntil([&] { return logHas(" - " + account + " - **** SYSTEM LOGOFF ****"); }, 20000));
  EXPECT_TRUE(waitUntil([&] {
    return logHas(" - " + account + " - Guard logged off " + account + " - no minutes left") ||
           logHas(" - " + account + " - Guard could not log off " + account +
                  " - no minutes left (error 120)");  // Wine
  }));
}

TEST_F(Installer, AProtectedInstallsGuardReplacesASuspendedCopy) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  OrrindaleProcess copy(account, "ATHLON", "2", kProgram);
  ASSERT_TRUE(restartGuard({"--interval", "1", "--counting-wait", "3", "--grace", "1"}));
  ASSERT_TRUE(waitUntil([&] { return logHas(" - " + account + " - Process Started - User " + account); }, 20000));
  const std::string replaced = " - " + account + " - Guard restarted Orrindale - User " + account + " (not counting)";
  // A copy whose minutes come (faster than the clock's, here) is left alone.
  for (int tick = 0; tick < 10; ++tick) {
    minuteTick(copy);
    Sleep(500);
  }
  EXPECT_FALSE(logHas(replaced));

  copy.suspend();
  EXPECT_TRUE(waitUntil([&] { return logHas(replaced); }, 15000));
  EXPECT_NE(copy.waitForExit(5000), -1) << "the suspended copy was ended";
  EXPECT_TRUE(waitUntil([] { return !copies().empty(); })) << "and a fresh one started";
}
