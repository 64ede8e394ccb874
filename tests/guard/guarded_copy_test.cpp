// A copy of the program in a protected install, with the guard's request handling in place of the
// pipe: it counts, logs and is admitted through the guard, which charges the account of its token
// whatever USERNAME says, and it logs the account off when the guard cannot be reached; the
// administration window's change of hours goes through the guard's gate.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/file_home.h"
#include "accounting/guard_link/guard_link.h"
#include "accounting/hours/hours_book.h"
#include "accounting/hours/supervisor_hours.h"
#include "accounting/program/minute_tick.h"
#include "accounting/program/startup.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "guard/kept_accounts.h"
#include "guard/requests.h"
#include "runtime/processes.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"
#include "tests/fixtures/recording_ui.h"
#include "tests/fixtures/sim_clock.h"
#include "tests/fixtures/tick_fixture.h"

namespace {

// The guard's process: its own table and session, swapped in while it answers.
struct GuardProcess {
  UsageTable table;
  Session session;
  TableHome home = kDataFileHome;  // the guard keeps the data file itself
  TableKeeper keeper;
  RequestSettings settings;
  Caller caller{"alice", false, 1};  // the token of the copy's process
  bool reachable = true;
  int requests = 0;
};
GuardProcess* vGuard = nullptr;

bool askInProcess(const std::string& request, std::string& answer, int) {
  if (!vGuard->reachable)
    return false;
  ++vGuard->requests;
  std::swap(vTable, vGuard->table);
  std::swap(vSession, vGuard->session);
  std::swap(vHome, vGuard->home);
  answer = answerRequest(vGuard->keeper, vGuard->settings, vGuard->caller, request);
  std::swap(vTable, vGuard->table);
  std::swap(vSession, vGuard->session);
  std::swap(vHome, vGuard->home);
  return true;
}

class GuardedCopy : public TickTest {
 protected:
  void SetUp() override {
    TickTest::SetUp();
    placeUser(1, "alice", "0012");
    placeUser(2, "parent", "1440");
    vTable.password = hashPassword("s3cret");
    saveTable();
    // The guard's side, on the data file just written.
    guard.session.dataFilePath = dataPath;
    guard.session.logPath = logPath;
    guard.session.userName = "Guard";
    std::swap(vSession, guard.session);
    std::swap(vTable, guard.table);
    ASSERT_TRUE(loadKeptTable(guard.keeper));
    std::swap(vTable, guard.table);
    std::swap(vSession, guard.session);
    vGuard = &guard;
    r_askGuard = askInProcess;
    // The copy's side: the files are the guard's, out of its reach.
    InstallDefaults();
    vFixedPaths = {test_files::tempPath("no-such-folder/data.dat"), test_files::tempPath("no-such-folder/log"),
                   [] { return true; }};
    rt::setEnv("USERNAME", "parent");  // what the account may set for itself
  }
  void TearDown() override {
    r_askGuard = rt::askGuardPipe;
    TickTest::TearDown();
  }

  // The guard's clock charging the account, in the guard's process.
  void guardCharges(const std::string& account, int minutes) {
    std::swap(vTable, guard.table);
    std::swap(vSession, guard.session);
    std::swap(vHome, guard.home);
    EXPECT_TRUE(chargeAccount(guard.keeper, account, minutes));
    std::swap(vTable, guard.table);
    std::swap(vSession, guard.session);
    std::swap(vHome, guard.home);
  }

  GuardProcess guard;
};

}  // namespace

TEST_F(GuardedCopy, ReadsItsMinutesFromTheGuardsClockAndWarnsAndLogsForTheAccountOfItsToken) {
  Startup();
  EXPECT_EQ(vSession.userName, "alice") << "the token's account, not USERNAME";
  EXPECT_EQ(vSession.currentUser, 1);
  EXPECT_EQ(fileField(1, kMinutesLeft), "0012") << "the copy charges nothing";
  EXPECT_EQ(vSession.minutesLeft, 12);
  EXPECT_EQ(vTable.password, kDefaultPassword) << "line 1 never reaches a copy";

  guardCharges("alice", 2);
  DoEachMin();
  EXPECT_EQ(vSession.minutesLeft, 10);
  EXPECT_EQ(recording_ui::callsStartingWith("box "),
            std::vector<std::string>{"box Orrindale|Please save your work\nYou only have 010 minutes left"});
  EXPECT_FALSE(test_files::exists(vSession.dataFilePath));
  const std::vector<std::string> lines = logLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "06/12/2026 09:05 - alice - Process Started - User alice") << "written by the guard";

  guardCharges("alice", 10);
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 1) << "the copy's own log-off at zero";
}

TEST_F(GuardedCopy, AnUnknownAccountIsAdmittedByTheGuardAndASilentGuardIsWaitedForMinutesBeforeTheLogOff) {
  guard.caller.account = "carol";
  Startup();
  EXPECT_EQ(vSession.currentUser, 3);
  EXPECT_EQ(fileField(3, kAccount), "carol");
  EXPECT_EQ(logoff_stub::runs(), 1) << "an unknown account is logged off at once, as in every install";

  guard.reachable = false;
  const std::string before = test_files::readBytes(dataPath);
  for (int tick = 0; tick < 3; ++tick) {
    DoEachMin();
    sim_clock::advance(60);
  }
  EXPECT_EQ(logoff_stub::runs(), 1) << "a guard silent for less than 3 minutes may be busy or restarting";
  EXPECT_GE(vSession.guardSilentSince, 0);
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 2) << "a guard gone for good: no minutes";
  EXPECT_EQ(test_files::readBytes(dataPath), before);

  guard.reachable = true;
  DoEachMin();
  EXPECT_EQ(vSession.guardSilentSince, -1);
}

TEST_F(GuardedCopy, ACopyStartedWhileTheGuardIsSilentWaitsForItAndThenCountsAsItsToken) {
  guard.reachable = false;
  Startup();
  EXPECT_EQ(logoff_stub::runs(), 0) << "no refusal before the guard has said whose table this is";
  EXPECT_EQ(vSession.currentUser, 0);
  guard.reachable = true;
  DoEachMin();
  EXPECT_EQ(vSession.currentUser, 1);
  EXPECT_EQ(vSession.minutesLeft, 12);
  EXPECT_EQ(logoff_stub::runs(), 0);
}

TEST_F(GuardedCopy, AskingForTimeAndAnsweringGoThroughTheGuardsWords) {
  vHome = kGuardHome;
  int number = 0;
  ASSERT_EQ(vHome.askForTime(60, "film", number), "");
  EXPECT_EQ(number, 1);
  guard.caller = {"parent", false, 2};
  std::vector<std::string> done;
  EXPECT_EQ(vHome.answerRequest(1, 60, std::nullopt, done).kind, SaveOutcome::NotAdministrator);
  EXPECT_EQ(vHome.answerRequest(1, 60, std::string("S3cret"), done).kind, SaveOutcome::WrongPassword)
      << "the answer window's password reaches the gate";
  guard.caller.administrator = true;
  AllowedHours evenings;
  ASSERT_EQ(setHoursProblem({"all=18:00-20:00"}, evenings), "");
  ASSERT_EQ(vHome.saveHours("alice", evenings, "hours of alice set").kind, SaveOutcome::Saved);
  HoursBook book;
  ASSERT_EQ(vHome.loadHours(book).kind, HoursLoad::Loaded);
  EXPECT_EQ(hoursOf(book, "alice"), evenings);
  ASSERT_EQ(book.requests.requests.size(), 1u);
  EXPECT_EQ(book.requests.requests[0].account, "alice");
  EXPECT_EQ(book.requests.requests[0].note, "film");
  ASSERT_EQ(vHome.answerRequest(1, 60, std::nullopt, done).kind, SaveOutcome::Saved);
  EXPECT_EQ(done.front(), "Request 1 - approved, 60 minutes for alice");
  EXPECT_EQ(vHome.answerRequest(1, 60, std::nullopt, done).why, "request 1 was already approved");
}

TEST_F(GuardedCopy, TheWindowsHoursAreTakenFromTheChildsSessionOnlyWithTheGatesPasswordAndCountTowardsItsLock) {
  vHome = kGuardHome;
  // Three periods every day: the longest sentence a change of hours is logged with.
  AllowedHours busy;
  ASSERT_EQ(setHoursProblem({"all=06:00-07:00,12:00-13:00,18:00-20:00"}, busy), "");
  const std::string done = hoursSetSentence("alice", busy);
  const auto save = [&](const std::string& password) {
    return vHome.saveSupervisorHours("alice", busy, done, password).kind;
  };
  for (const char* wrong : {"", "S3cret", "guess", "guess", "guess"})
    EXPECT_EQ(save(wrong), SaveOutcome::WrongPassword) << wrong;
  EXPECT_EQ(save("s3cret"), SaveOutcome::WrongPassword) << "locked by the five wrong ones";
  EXPECT_FALSE(test_files::exists(hoursPath));
  const auto logged = [&](const std::string& ending) {
    const std::vector<std::string> lines = logLines();
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.ends_with(ending); });
  };
  EXPECT_EQ(logged(" - alice - Administration window - changes refused: wrong password"), 5);
  EXPECT_EQ(logged(" - alice - Password window - 5 wrong passwords: every password refused for 1 minute"), 1);

  sim_clock::advance(60);
  ASSERT_EQ(save("s3cret"), SaveOutcome::Saved);
  HoursBook book;
  ASSERT_EQ(vHome.loadHours(book).kind, HoursLoad::Loaded);
  EXPECT_EQ(hoursOf(book, "alice"), busy);
  EXPECT_EQ(logged(" - alice - Administration window - " + done), 1);
}
