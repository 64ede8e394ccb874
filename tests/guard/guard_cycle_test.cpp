// A round of the guard over a simulated platform: what it does and logs, a session that cannot
// be logged off, a missing, cut or locked data file, and an account added between rounds.
#include "guard/guard_cycle.h"

#include <algorithm>
#include <tuple>

#include "accounting/data_file/data_file.h"
#include "accounting/guard_link/guard_protocol.h"
#include "accounting/hours/hours_book.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/table_rules.h"
#include "accounting/log/log_report.h"
#include "accounting/table/usage_table.h"
#include "runtime/file.h"
#include "tests/fixtures/accounting_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/sim_clock.h"

namespace {

// The platform as the guard sees it: the sessions a test sets, and a record of what the
// guard asked for.
std::vector<SessionSeen> vSessions;
std::vector<std::string> vCalls;
unsigned long vStartError = 0;
unsigned long vLogOffError = 0;

bool fakeSessions(std::vector<SessionSeen>& sessions) {
  sessions = vSessions;
  return true;
}
unsigned long fakeStart(unsigned session) {
  vCalls.push_back("start " + std::to_string(session));
  return vStartError;
}
unsigned long fakeLogOff(unsigned session) {
  vCalls.push_back("logoff " + std::to_string(session));
  return vLogOffError;
}
constexpr GuardPlatform kFakePlatform{fakeSessions, fakeStart, fakeLogOff};

class GuardCycleTest : public AccountingTest {
 protected:
  void SetUp() override {
    AccountingTest::SetUp();
    vSession.userName = kGuardLogName;
    vSessions = {{.id = 1, .account = "alice"}};
    vCalls.clear();
    vStartError = 0;
    vLogOffError = 0;
    saveAccounts({"alice"});
  }

  // The data file of a table with these accounts in slots 1, 2, ..., saved as the program would.
  void saveAccounts(const std::vector<std::string>& accounts) {
    InstallDefaults();
    for (std::size_t i = 0; i < accounts.size(); ++i)
      vTable.user(static_cast<int>(i) + 1).field(kAccount) = accounts[i];
    test_files::writeBytes(dataPath, "");
    RewriteDataFile();
    InstallDefaults();
  }

  // Alice alone in slot 1 with these minutes left today, and the guard keeping the table.
  void keepAliceWith(const char* minutesLeft) {
    UserRecord& alice = vTable.user(1);
    alice.field(kAccount) = "alice";
    alice.field(kMinutesLeft) = minutesLeft;
    alice.field(kLastYear) = "2026";
    alice.field(kLastMonth) = "12";
    alice.field(kLastDay) = "06";
    RewriteDataFile();
    run.keeper = &keeper;
  }

  // A round of the guard, seconds after the first one.
  void cycleAt(long long seconds) { guardCycle(run, kFakePlatform, seconds); }

  int logCount(const std::string& text) {
    const auto lines = logLines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != l.npos; }));
  }

  GuardRun run;
  TableKeeper keeper;
};

}  // namespace

TEST_F(GuardCycleTest, RestartsAndTheLogOffAreLoggedUnderTheAccountAndCountedByTheReport) {
  cycleAt(0);
  cycleAt(180);
  vStartError = 5;
  cycleAt(185);
  vStartError = 0;
  cycleAt(190);
  cycleAt(195);
  EXPECT_EQ(vCalls, (std::vector<std::string>{"start 1", "start 1", "start 1", "logoff 1"}));
  EXPECT_EQ(logLines(), (std::vector<std::string>{
                            "06/12/2026 09:05 - alice - Guard restarted Orrindale - User alice",
                            "06/12/2026 09:05 - alice - Guard could not start Orrindale - User alice (error 5)",
                            "06/12/2026 09:05 - alice - Guard restarted Orrindale - User alice",
                            "06/12/2026 09:05 - alice - Guard logged off alice"}));

  const LogReport report = buildLogReport(test_files::readBytes(logPath), std::chrono::year_month_day{}, 0);
  ASSERT_EQ(report.rows.size(), 1u);
  EXPECT_EQ(report.rows[0].account, "alice");
  EXPECT_EQ(report.rows[0].guardRestarts, 2);
  EXPECT_EQ(report.rows[0].guardLogoffs, 1);
  EXPECT_EQ(report.unreadLines, 0);
}

TEST_F(GuardCycleTest, ASessionThatCannotBeLoggedOffGetsItsCopyBack) {
  vLogOffError = 120;
  for (long long t : {0, 180, 185, 190, 195})
    cycleAt(t);
  EXPECT_EQ(vCalls, (std::vector<std::string>{"start 1", "start 1", "start 1", "logoff 1", "start 1"}));
  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3], "06/12/2026 09:05 - alice - Guard could not log off alice (error 120)");
  EXPECT_EQ(lines[4], "06/12/2026 09:05 - alice - Guard restarted Orrindale - User alice");
}

TEST_F(GuardCycleTest, AMissingOrCutDataFileStopsEveryActionAndIsLoggedOnceUntilItIsWholeAgain) {
  const std::string saved = test_files::readBytes(dataPath);
  std::string cut = saved;
  cut.resize(cut.find('\n') + 1);  // the password line only
  for (const bool missing : {true, false}) {
    run = GuardRun{};
    vCalls.clear();
    test_files::remove(logPath);
    if (missing)
      test_files::remove(dataPath);
    else
      test_files::writeBytes(dataPath, cut);
    for (long long t : {0, 200, 400})
      cycleAt(t);
    EXPECT_TRUE(vCalls.empty()) << missing;
    EXPECT_EQ(logCount(" - Guard - Could not find file " + dataPath + " to read from"), missing ? 1 : 0);
    EXPECT_EQ(logCount(" - Guard - Guard cannot read the data file"), 1) << missing;

    test_files::writeBytes(dataPath, saved);
    cycleAt(405);
    EXPECT_EQ(vCalls, std::vector<std::string>{"start 1"}) << missing;
    EXPECT_EQ(logCount(" - Guard - Guard reads the data file again"), 1) << missing;
  }
}

TEST_F(GuardCycleTest, ALockedDataFileIsNotWaitedForAndNeverEndsTheGuard) {
  const std::string saved = test_files::readBytes(dataPath);
  rt::TextFile holder(dataPath, rt::OpenMode::Read);
  ASSERT_TRUE(holder.tryLockExclusive());
  for (long long t : {0, 200, 400})
    cycleAt(t);
  EXPECT_TRUE(vCalls.empty());
  EXPECT_EQ(sim_clock::now(), rt::secondsOf(2026, 12, 6, 9, 5)) << "no retry was slept";
  EXPECT_EQ(logCount("Could not lock file"), 0);
  EXPECT_EQ(logCount(" - Guard - Guard finds the data file locked"), 1);

  holder.unlock();
  cycleAt(405);
  EXPECT_EQ(vCalls, std::vector<std::string>{"start 1"});
  EXPECT_EQ(test_files::readBytes(dataPath), saved) << "the guard only reads the data file";
}

TEST_F(GuardCycleTest, AnAccountAddedToTheFileIsGuardedFromTheNextRound) {
  vSessions = {{.id = 1, .account = "alice", .copies = 1}, {.id = 2, .account = "bob"}};
  cycleAt(0);
  cycleAt(180);
  EXPECT_TRUE(vCalls.empty());
  saveAccounts({"alice", "bob"});
  cycleAt(185);
  EXPECT_EQ(vCalls, std::vector<std::string>{"start 2"});
}

TEST_F(GuardCycleTest, KeepingTheClockTheRoundChargesMeetsUnlistedAccountsAndOnlyItsLinesCountInTheReport) {
  InstallDefaults();
  setNewUsersAllowed(vTable, false);
  keepAliceWith("0002");
  WriteLogAs(kGuardLogName, kGuardKeepsClockLine);
  // What a copy may send: its own start and end, a log-off at zero it never made.
  for (const char* copyLine : {"Process Started - User alice", "**** SYSTEM LOGOFF ****", "Process Ended - User alice"})
    WriteLogAs("alice", copyLine);
  vSessions = {{.id = 1, .account = "alice", .copies = 0}, {.id = 2, .account = "mallory", .copies = 1}};
  cycleAt(0);
  EXPECT_EQ(dataFileFields().at(tableField(1, kMinutesLeft) - 1), "0001") << "charged at the first sight, no copy";
  vSessions.pop_back();
  cycleAt(60);
  EXPECT_EQ(dataFileFields().at(tableField(1, kMinutesLeft) - 1), "0000");
  for (long long t : {65, 125})
    cycleAt(t);
  vSessions.clear();
  cycleAt(130);
  EXPECT_EQ(vCalls, (std::vector<std::string>{"logoff 2", "logoff 1"}));
  const std::vector<std::string> lines = logLines();
  const std::vector<std::string> guardLines(lines.begin() + 4, lines.end());
  EXPECT_EQ(guardLines, (std::vector<std::string>{
                            "06/12/2026 09:05 - alice - Guard saw a logon - User alice",
                            "06/12/2026 09:05 - mallory - Guard saw a logon - User mallory",
                            "06/12/2026 09:05 - mallory - Guard logged off mallory - not in the table",
                            "06/12/2026 09:05 - mallory - Guard saw a log-off - User mallory",
                            "06/12/2026 09:05 - alice - Guard charged the last minute - User alice",
                            "06/12/2026 09:05 - alice - Guard logged off alice - no minutes left",
                            "06/12/2026 09:05 - alice - Guard saw a log-off - User alice"}));

  const LogReport report = buildLogReport(test_files::readBytes(logPath), std::chrono::year_month_day{}, 0);
  ASSERT_EQ(report.rows.size(), 2u);
  const ReportRow& a = report.rows[0];
  EXPECT_EQ(a.account, "alice");
  EXPECT_EQ(std::tuple(a.starts, a.orderlyEnds, a.logoffsAtZero, a.guardLogoffs, a.refusals),
            std::tuple(1, 1, 1, 1, 0))
      << "the guard's lines, not the copy's";
  const ReportRow& m = report.rows[1];
  EXPECT_EQ(std::tuple(m.account, m.starts, m.orderlyEnds, m.refusals, m.guardLogoffs),
            std::tuple(std::string("mallory"), 1, 1, 1, 1));
}

TEST_F(GuardCycleTest, AMovedTimeZoneIsLoggedAndMovesNoAllowedHours) {
  keepAliceWith("0100");
  AllowedHours hours;
  ASSERT_EQ(setHoursProblem({"all=00:00-09:00"}, hours), "");
  HoursBook book;
  setHoursInBook(book, "alice", hours);
  ASSERT_TRUE(saveKeptHours(keeper, book));
  cycleAt(0);  // 09:05, outside since 09:00
  sim_clock::moveSystemZone(-120);
  for (long long t : {30, 65, 70})
    cycleAt(t);
  EXPECT_EQ(vCalls, std::vector<std::string>{"logoff 1"}) << "07:05 on the system's clock";
  EXPECT_EQ(logCount("Guard logged off alice - outside allowed hours"), 1);
  EXPECT_EQ(logCount(" - Guard - Time zone changed to UTC-02:00 - allowed hours still read in UTC+00:00"), 1);
}
