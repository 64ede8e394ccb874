// A protected install under Wine: the guard keeps the table and the log, and the copies and the
// administration tool only ask it. What a child's account would try is done from the test (Wine
// enforces no folder rights and runs every program as one account): a file changed or deleted
// behind the guard's back, a window shown without the password, a copy left without its guard, a
// copy in test mode at zero and a suspended copy.
#include <gtest/gtest.h>

#include "accounting/log/activity_log.h"
#include "accounting/data_file/data_file.h"
#include "accounting/guard_link/guard_protocol.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/table_rules.h"
#include "runtime/guard_pipe.h"
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

// The guard stopped, the table written with the session's account at these minutes, last used
// today, and the guard started again with a look every second and minutes of two seconds.
void startCountingFrom(const std::string& account, const char* minutes, std::vector<const char*> more = {}) {
  ASSERT_EQ(rt::runCommand(inQuotes(kGuard) + " --stop"), 0);
  UsageTable table = storedTable();
  const int slot = accountSlot(table, account);
  ASSERT_NE(slot, 0);
  const rt::LocalTime now = rt::localNow();
  UserRecord& own = table.user(slot);
  own.field(kMinutesLeft) = minutes;
  own.field(kLastYear) = zeroPadded(now.year, 4);
  own.field(kLastMonth) = zeroPadded(now.month, 2);
  own.field(kLastDay) = zeroPadded(now.day, 2);
  writeBehindTheGuard(table);
  std::vector<const char*> options{"--interval", "1", "--minute-length", "2"};
  options.insert(options.end(), more.begin(), more.end());
  ASSERT_TRUE(startService(options));
}

int minutesLeftOf(int slot) {
  return readNumber(minutesInFile(slot));
}

}  // namespace

TEST_F(Installer, AProtectedInstallsGuardChargesTheSessionFromItsFirstMinuteAndPutsBackAFileChangedBehindIt) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  EXPECT_EQ(machineNumber("Software\\Orrindale", "Protected"), 1u);
  EXPECT_TRUE(isPasswordHash(storedTable().password));
  ASSERT_EQ(runAdmin("add-user kid --force all=30"), 0);
  ASSERT_EQ(runAdmin("grant kid 15"), 0);
  EXPECT_TRUE(logHas(" - " + account + " - Admin tool - 15 minutes granted to kid, 45 left today"))
      << "through the guard, under the tool's token";

  // No copy runs (its Run value ended it at once, say): the session pays from the guard's first look.
  startCountingFrom(account, "0300", {"--grace", "600"});
  EXPECT_TRUE(waitUntil([] { return minutesInFile(1) == "0299"; }, 5000));
  EXPECT_TRUE(copies().empty());
  ASSERT_TRUE(waitUntil([] { return minutesLeftOf(1) <= 296; }, 15000)) << "and every minute after";
  EXPECT_TRUE(logHas(" - " + account + " - Guard saw a logon - User " + account));

  // Minutes of the clock's length again, so that the file stands still between two of them; the
  // file is changed once the new guard has made its first look (its logon line).
  const std::string logon = " - " + account + " - Guard saw a logon - User " + account;
  const int logons = logCount(logon);
  ASSERT_TRUE(restartGuard({"--interval", "1"}));
  ASSERT_TRUE(waitUntil([&] { return logCount(logon) == logons + 1; }));
  UsageTable raised = storedTable();
  raised.user(1).field(kMinutesLeft) = "0500";
  writeBehindTheGuard(raised);
  EXPECT_TRUE(waitUntil([] { return minutesLeftOf(1) < 300; }, 5000)) << "put back within one look";
  // Deleted as soon as no one holds it open.
  const std::string restored = " - Guard - **** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****";
  ASSERT_TRUE(waitUntil([&] { return logCount(restored) == 1; }, 5000));
  ASSERT_TRUE(waitUntil([] { return DeleteFileA(kDataFile.c_str()) != 0; }, 5000));
  EXPECT_TRUE(waitUntil([&] { return logCount(restored) == 2; }, 5000));
  EXPECT_TRUE(waitUntil([] { return minutesLeftOf(1) > 0 && minutesLeftOf(1) < 300; }, 5000));
}

TEST_F(Installer, AProtectedInstallsGuardChargesEveryMinuteWhileTheSessionsCopiesAreKeptSuspended) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  OrrindaleProcess copy(account, "ATHLON", "2", kProgram);
  ASSERT_TRUE(waitUntil([&] { return logHas(" - " + account + " - Process Started - User " + account); }, 20000));
  copy.suspend();
  startCountingFrom(account, "0300");
  ASSERT_TRUE(waitUntil([] { return minutesLeftOf(1) <= 295; }, 20000)) << "five minutes charged, none sent";
  EXPECT_EQ(copies().size(), 1u) << "the suspended copy is left alone: it changes nothing";
}

TEST_F(Installer, AProtectedInstallsGuardMeetsAnAccountWithoutASlot) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret /ALLOWNEWUSERS=no"), 0);
  ASSERT_EQ(rt::runCommand(inQuotes(kGuard) + " --stop"), 0);
  UsageTable table = storedTable();
  table.user(accountSlot(table, account)).field(kAccount) = "";
  writeBehindTheGuard(table);
  ASSERT_TRUE(startService({"--interval", "1"}));
  EXPECT_TRUE(waitUntil([&] {
    return logHas(" - " + account + " - Guard logged off " + account + " - not in the table") ||
           logHas(" - " + account + " - Guard could not log off " + account + " - not in the table (error 120)");
  }));
  EXPECT_EQ(accountSlot(storedTable(), account), 0) << "new users are refused";
}

TEST_F(Installer, AProtectedInstallsGuardBoundsWhatAFloodOfRequestsWritesToTheLog) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  GuardRequest flood = guardRequest(GuardVerb::Log);
  flood.lines.assign(kMostLogLines, "flood");
  std::string answer;
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(rt::askGuardPipe(encodeRequest(flood), answer, 10));
    ASSERT_TRUE(rt::askGuardPipe("not a request", answer, 10));
  }
  EXPECT_EQ(logCount(" - " + account + " - flood"), 60) << "of 320 sent within the minute";
  EXPECT_EQ(logCount(" - " + account + " - Guard refused a request that was not whole (13 bytes)"), 1);
}

TEST_F(Installer, AProtectedInstallsAdministrationWindowSavesOnlyWithThePasswordTypedAtItsGate) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(runAdmin("add-user kid --force all=30"), 0);
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
  EXPECT_EQ(minutesInFile(2), "30") << "the copy charges nothing";
  EXPECT_TRUE(logHas(" - kid - Administration window - changes refused: wrong password"));
  ShowWindow(main, SW_HIDE);

  // Through the gate: only the changed cell goes, over the minutes counted meanwhile.
  ASSERT_TRUE(openAdministration(kid, "s3cret"));
  chooseMenu(main, 't', 'm');
  ASSERT_TRUE(waitUntil([&] { return gridCell(main, 2, 2) != nullptr; }));
  // A change made meanwhile, as a minute the guard charged would be (kid has no session here).
  ASSERT_EQ(runAdmin("grant kid 5"), 0);
  ASSERT_TRUE(waitUntil([] { return minutesInFile(2) == "35"; }));
  typeInto(gridCell(main, 2, 2 + rt::localNow().weekday), "75");
  click(visibleButton(main, "Apply"));
  EXPECT_TRUE(waitUntil([] {
    return logHas(" - kid - Administration window - User 2 " + std::string(dayName(rt::localNow().weekday + 1)) +
                  " = 75");
  }));
  EXPECT_EQ(minutesInFile(2), "35") << "the window read 30, which is not put back";
  EXPECT_EQ(storedTable().user(2).allowance(rt::localNow().weekday + 1), "75");

  // Closed by the supervisor, the window forgets the password: shown again from outside, it saves nothing.
  chooseMenu(main, 'f', 'x');  // File, Exit
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
  ShowWindow(main, SW_SHOW);
  typeInto(gridCell(main, 2, 1), "900");
  click(visibleButton(main, "Apply"));
  EXPECT_EQ(answerBox(kid, "Update data"),
            "Nothing was changed: the supervisor password was not given at the password window");
  EXPECT_EQ(minutesInFile(2), "35");
}

TEST_F(Installer, AProtectedInstallsOrrindaleWaitsForASilentGuardAndNeverWritesItsFiles) {
  logoff_stub::install();
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(rt::runCommand(inQuotes(kGuard) + " --stop"), 0);
  const std::string data = test_files::readBytes(kDataFile);
  const std::string log = test_files::readBytes(kLogFile);
  OrrindaleProcess own(account, "ATHLON", "0", kProgram);
  ASSERT_TRUE(waitUntil([&] { return own.window(kMainWindow) != nullptr; }, 30000));
  // Two minutes, each waiting 10 s for the pipe: the log-off comes only after 3 silent minutes.
  for (int tick = 0; tick < 2; ++tick)
    ASSERT_TRUE(SendMessageTimeoutA(own.window(kHostWindow), WM_TIMER, 1, 0, SMTO_NORMAL, 30000, nullptr));
  EXPECT_EQ(logoff_stub::runs(), 0) << "a busy or restarting guard costs no log-off";
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

TEST_F(Installer, TheGuardRunsInAConsoleOnlyWhileItsServiceIsStopped) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  EXPECT_EQ(rt::runCommand(inQuotes(kGuard) + " --console"), 2) << "two guards would act twice";
  ASSERT_EQ(rt::runCommand(inQuotes(kGuard) + " --stop"), 0);
  const std::string started = " - Guard - Guard started - it keeps the table and the clock";
  const int before = logCount(started);
  OrrindaleProcess guard(account, "ATHLON", "--console --interval 1", kGuard);
  ASSERT_TRUE(waitUntil([&] { return logCount(started) == before + 1; }));
  ASSERT_EQ(runAdmin("set-allowance " + account + " Mon=100"), 0) << "through the console guard's pipe";
  EXPECT_EQ(storedTable().user(1).allowance(2), "100");
}
