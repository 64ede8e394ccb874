// The activity log's lines: date, time, account and message, the console instead of the file at
// debug level 1, a fresh timestamp for every line, a line dropped when the log's folder is
// missing, and zero-padded numbers.
#include "accounting/log/activity_log.h"

#include "accounting/table/usage_table.h"
#include "tests/fixtures/accounting_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/sim_clock.h"

using ActivityLog = AccountingTest;

TEST_F(ActivityLog, LinesCarryDateTimeUserAndMessage) {
  vSession.debugLevel = 2;
  WriteLog("Could not find file c:\\Program Files\\Halvard\\HalvardDemo.dat to read from");
  vSession.userName = "player";
  WriteLog("Machine in use ATHLON, Number 02");
  WriteLog("Process Started - User player");
  const std::vector<std::string> expected{
      "06/12/2026 09:05 - Admin - Could not find file c:\\Program Files\\Halvard\\HalvardDemo.dat to read from",
      "06/12/2026 09:05 - player - Machine in use ATHLON, Number 02",
      "06/12/2026 09:05 - player - Process Started - User player",
  };
  EXPECT_EQ(logLines(), expected);
  EXPECT_EQ(test_files::readBytes(logPath).back(), '\n');
}

TEST_F(ActivityLog, DebugLevelOneWritesToTheConsoleOnly) {
  vSession.debugLevel = 1;
  testing::internal::CaptureStdout();
  WriteLog("New day allowance");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "06/12/2026 09:05 - Admin - New day allowance\n");
  EXPECT_FALSE(test_files::exists(logPath));
}

TEST_F(ActivityLog, EveryLineRefreshesTheTimestampAcrossMidnight) {
  sim_clock::install(2026, 12, 31, 23, 59, 30);  // a Thursday
  WriteLog("before");
  EXPECT_EQ(vStamp.weekday, 5);
  EXPECT_EQ(vStamp.dayNumber, 31);
  sim_clock::advance(30);
  WriteLog("after");
  EXPECT_EQ(vStamp.year, "2027");
  EXPECT_EQ(vStamp.month, "01");
  EXPECT_EQ(vStamp.day, "01");
  EXPECT_EQ(vStamp.hour, "00");
  EXPECT_EQ(vStamp.minute, "00");
  EXPECT_EQ(vStamp.weekday, 6);
  EXPECT_EQ(vStamp.dayNumber, 1);
  const std::vector<std::string> expected{"31/12/2026 23:59 - Admin - before", "01/01/2027 00:00 - Admin - after"};
  EXPECT_EQ(logLines(), expected);

  sim_clock::install(2027, 1, 2, 12, 0);  // Saturday to Sunday wraps 7 to 1
  MakeTimeStamp();
  EXPECT_EQ(vStamp.weekday, 7);
  sim_clock::advance(86400);
  MakeTimeStamp();
  EXPECT_EQ(vStamp.weekday, 1);
}

TEST_F(ActivityLog, MissingLogFolderDropsTheLine) {
  vSession.logPath = test_files::tempPath("no-such-folder") + "/debugDemo.log";
  WriteLog("nowhere to go");
  EXPECT_FALSE(test_files::exists(vSession.logPath));
  EXPECT_EQ(vStamp.minute, "05") << "the timestamp is still refreshed";
}

TEST(ZeroPadded, WidensButNeverCuts) {
  EXPECT_EQ(zeroPadded(5, 2), "05");
  EXPECT_EQ(zeroPadded(120, 2), "120");
  EXPECT_EQ(zeroPadded(9, 4), "0009");
  EXPECT_EQ(zeroPadded(-1, 2), "-1");
}
