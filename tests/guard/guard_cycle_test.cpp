// A round of the guard over a simulated platform: what it does and logs, a session that cannot
// be logged off, a missing, cut or locked data file, and an account added between rounds.
#include "guard/guard_cycle.h"

#include <algorithm>

#include "accounting/data_file.h"
#include "accounting/log_report.h"
#include "accounting/usage_table.h"
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
void fakeEndCopies(unsigned session) {
  vCalls.push_back("end " + std::to_string(session));
}
constexpr GuardPlatform kFakePlatform{fakeSessions, fakeStart, fakeLogOff, fakeEndCopies};

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

  // A round of the guard, seconds after the first one.
  void cycleAt(long long seconds) { guardCycle(run, kFakePlatform, seconds); }

  int logCount(const std::string& text) {
    const auto lines = logLines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != l.npos; }));
  }

  GuardRun run;
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

TEST_F(GuardCycleTest, ReplacedCopiesAndALogOffAtZeroAreLoggedWithTheirReasonAndCountedForTheAccount) {
  InstallDefaults();
  UserRecord& alice = vTable.user(1);
  alice.field(kAccount) = "alice";
  alice.field(kMinutesLeft) = "0005";
  alice.field(kLastYear) = "2026";
  alice.field(kLastMonth) = "12";
  alice.field(kLastDay) = "06";
  RewriteDataFile();
  vSessions = {{.id = 1, .account = "alice", .copies = 1}};
  run.settings.minutesReachGuard = true;
  cycleAt(0);
  cycleAt(180);  // no minute came from the session
  alice.field(kMinutesLeft) = "0000";
  RewriteDataFile();
  cycleAt(185);
  cycleAt(245);
  vLogOffError = 120;
  cycleAt(305);
  EXPECT_EQ(vCalls, (std::vector<std::string>{"end 1", "start 1", "logoff 1", "logoff 1"}));
  EXPECT_EQ(logLines(), (std::vector<std::string>{
                            "06/12/2026 09:05 - alice - Guard restarted Orrindale - User alice (not counting)",
                            "06/12/2026 09:05 - alice - Guard logged off alice - no minutes left",
                            "06/12/2026 09:05 - alice - Guard could not log off alice - no minutes left (error 120)"}));
  const LogReport report = buildLogReport(test_files::readBytes(logPath), std::chrono::year_month_day{}, 0);
  ASSERT_EQ(report.rows.size(), 1u);
  EXPECT_EQ(report.rows[0].account, "alice");
  EXPECT_EQ(report.rows[0].guardRestarts, 1);
  EXPECT_EQ(report.rows[0].guardLogoffs, 1);
}
