// A copy of the program in a protected install, with the guard's request handling in place of the
// pipe: it counts, logs and is admitted through the guard, which charges the account of its token
// whatever USERNAME says, and it logs the account off when the guard cannot be reached.
#include <gtest/gtest.h>

#include <utility>

#include "accounting/data_file.h"
#include "accounting/guard_link.h"
#include "accounting/minute_tick.h"
#include "accounting/password_hash.h"
#include "accounting/startup.h"
#include "accounting/usage_table.h"
#include "guard/requests.h"
#include "runtime/processes.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"
#include "tests/fixtures/recording_ui.h"
#include "tests/fixtures/tick_fixture.h"

namespace {

// The guard's process: its own table and session, swapped in while it answers.
struct GuardProcess {
  UsageTable table;
  Session session;
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
  answer = answerRequest(vGuard->keeper, vGuard->settings, vGuard->caller, request);
  std::swap(vTable, vGuard->table);
  std::swap(vSession, vGuard->session);
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

  GuardProcess guard;
};

}  // namespace

TEST_F(GuardedCopy, CountsLogsAndWarnsThroughTheGuardForTheAccountOfItsToken) {
  Startup();
  EXPECT_EQ(vSession.userName, "alice") << "the token's account, not USERNAME";
  EXPECT_EQ(vSession.currentUser, 1);
  EXPECT_EQ(fileField(1, kMinutesLeft), "0011");
  EXPECT_EQ(fileField(2, kMinutesLeft), "1440");
  EXPECT_EQ(vTable.password, kDefaultPassword) << "line 1 never reaches a copy";

  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0010");
  EXPECT_EQ(recording_ui::callsStartingWith("box "),
            std::vector<std::string>{"box Orrindale|Please save your work\nYou only have 010 minutes left"});
  EXPECT_FALSE(test_files::exists(vSession.dataFilePath));
  const std::vector<std::string> lines = logLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "06/12/2026 09:05 - alice - Process Started - User alice") << "written by the guard";
  EXPECT_EQ(logoff_stub::runs(), 0);
}

TEST_F(GuardedCopy, AnUnknownAccountIsAdmittedByTheGuardAndAMinuteWithoutTheGuardLogsOff) {
  guard.caller.account = "carol";
  Startup();
  EXPECT_EQ(vSession.currentUser, 3);
  EXPECT_EQ(fileField(3, kAccount), "carol");
  EXPECT_EQ(logoff_stub::runs(), 1) << "an unknown account is logged off at once, as in every install";

  guard.reachable = false;
  const std::string before = test_files::readBytes(dataPath);
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 2) << "no guard, no minutes";
  EXPECT_EQ(test_files::readBytes(dataPath), before);
}
