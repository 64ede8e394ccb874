// Start-up: the debug level from the first argument, the account's slot, a new user's free slot,
// and what is logged off or ended when the account or the data file is refused.
#include "accounting/program/startup.h"

#include "accounting/log/activity_log.h"
#include "runtime/file_faults.h"
#include "runtime/processes.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"
#include "tests/fixtures/recording_ui.h"
#include "tests/fixtures/tick_fixture.h"

namespace {
void runWithArguments(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  rt::setArguments(static_cast<int>(argv.size()), argv.data());
}
}  // namespace

class StartupTest : public TickTest {
 protected:
  void SetUp() override {
    TickTest::SetUp();
    rt::setEnv("USERNAME", "player");
    rt::setEnv("COMPUTERNAME", "PENTIUM4");
    runWithArguments({"orrindale.exe"});
  }
  void fillAllSlots() {
    for (int slot = 1; slot <= kUserSlots; ++slot)
      placeUser(slot, "user" + std::to_string(slot), "0020");
  }
};

TEST(DebugLevel, IsTheFirstArgumentReadAsAWholeNumber) {
  const std::pair<std::vector<std::string>, int> cases[] = {{{"orrindale.exe"}, 0},
                                                            {{"orrindale.exe", "abc"}, 0},
                                                            {{"orrindale.exe", "2.9"}, 2},
                                                            {{"orrindale.exe", " 07"}, 7},
                                                            {{"orrindale.exe", "1", "5"}, 1}};
  for (const auto& [arguments, level] : cases) {
    runWithArguments(arguments);
    SetPaths();
    EXPECT_EQ(vSession.debugLevel, level) << arguments.back();
  }
}

TEST_F(StartupTest, KnownUserStartsInOrder) {
  placeUser(2, "player", "0020");
  saveTable();
  InstallDefaults();
  Startup();
  EXPECT_EQ(vSession.currentUser, 2);
  EXPECT_EQ(vSession.userName, "player");
  EXPECT_EQ(fileField(2, kMinutesLeft), "0019") << "every start counts a minute";
  const std::vector<std::string> expected{"tray 0",
                                          "update tab",
                                          "options tab",
                                          "timer host 1 60000",
                                          "timer main 2 1000",
                                          "tray show",
                                          "panes 0.2 0.6 0.2",
                                          "status 2 " + std::string(kStatusCredit),
                                          "status 3 Time:",
                                          "app icon"};
  EXPECT_EQ(recording_ui::calls(), expected);
  const std::vector<std::string> log{"06/12/2026 09:05 - player - Machine in use PENTIUM4, Number 01",
                                     "06/12/2026 09:05 - player - Process Started - User player"};
  EXPECT_EQ(logLines(), log);
  EXPECT_EQ(logoff_stub::runs(), 0);
}

TEST_F(StartupTest, TheLastSlotHoldingTheAccountWins) {
  placeUser(3, "player", "0020");
  placeUser(5, "player", "0020");
  placeUser(4, "Player", "0020");  // names compare case-sensitively
  saveTable();
  Startup();
  EXPECT_EQ(vSession.currentUser, 5);
  EXPECT_EQ(fileField(5, kMinutesLeft), "0019");
  EXPECT_EQ(fileField(3, kMinutesLeft), "0020");
}

TEST_F(StartupTest, UnknownMachineIsNumberMinusOne) {
  rt::setEnv("COMPUTERNAME", "LAPTOP");
  placeUser(1, "player", "0020");
  saveTable();
  Startup();
  EXPECT_EQ(logLines().front(), "06/12/2026 09:05 - player - Machine in use LAPTOP, Number -1");
  EXPECT_EQ(fileField(1, kMachine), "LAPTOP");
}

TEST_F(StartupTest, NewUserGetsTheFirstFreeSlotWithTheDefaults) {
  placeUser(1, "someone", "0020");
  placeUser(3, "other", "0020");
  saveTable();
  Startup();
  EXPECT_EQ(logoff_stub::runs(), 1) << "in normal use an unknown account is logged off first";
  EXPECT_EQ(vSession.currentUser, 2);
  const std::vector<std::string> expected{"player", "0019", "2026", "12", "06", "09", "05", "PENTIUM4",
                                          "20",     "10",   "30",   "10", "5",  "10", "10"};
  for (int field = 1; field <= kUserFields; ++field)
    EXPECT_EQ(fileField(2, field), expected[field - 1]) << field;
  EXPECT_EQ(recording_ui::callsStartingWith("box"),
            std::vector<std::string>{"box New user|New user player has been created\nUsing default time settings"});
  EXPECT_EQ(logLines().at(2), "06/12/2026 09:05 - player - Found one - 02");
  EXPECT_EQ(recording_ui::calls().at(1), "tray 0");
}

TEST_F(StartupTest, NoFreeSlotInTestModeStillStarts) {
  runWithArguments({"orrindale.exe", "2"});
  fillAllSlots();
  saveTable();
  const std::vector<std::string> before = dataFileFields();
  Startup();
  EXPECT_EQ(vSession.currentUser, 0);
  EXPECT_EQ(dataFileFields(), before);
  EXPECT_EQ(recording_ui::callsStartingWith("box"),
            std::vector<std::string>{"box New user|It has not been possible to\ncreate the new user player"});
  EXPECT_TRUE(recording_ui::callsStartingWith("tray 0").empty()) << "no record to draw";
  EXPECT_EQ(recording_ui::callsStartingWith("timer").size(), 2u);
  const std::vector<std::string> log{"06/12/2026 09:05 - Admin - **** INVALID USER player ****",
                                     "06/12/2026 09:05 - player - Machine in use PENTIUM4, Number 01",
                                     "06/12/2026 09:05 - player - No Space left ",
                                     "06/12/2026 09:05 - player - Process Started - User player"};
  EXPECT_EQ(logLines(), log);
  EXPECT_EQ(logoff_stub::runs(), 0);
}

TEST_F(StartupTest, NoFreeSlotInNormalUseLogsOff) {
  fillAllSlots();
  saveTable();
  Startup();
  EXPECT_EQ(vSession.currentUser, 0);
  EXPECT_EQ(logoff_stub::runs(), 2) << "once as unknown, once for want of a slot";
}

TEST_F(StartupTest, RefusedNewUserInNormalUseIsLoggedOffWithoutASlot) {
  vTable.option(kNewUserFlag) = "1";
  saveTable();
  Startup();
  EXPECT_EQ(vSession.currentUser, 0);
  EXPECT_EQ(fileField(1, kAccount), "");
  EXPECT_EQ(logoff_stub::runs(), 2);
  EXPECT_TRUE(recording_ui::callsStartingWith("box").empty());
  EXPECT_EQ(logLines().front(), "06/12/2026 09:05 - Admin - **** INVALID USER player ****")
      << "the supervisor's sign of a refused account, in every debug level";
}

TEST_F(StartupTest, StartAtZeroInNormalUseEndsTheRunAfterItsStartLine) {
  placeUser(1, "player", "0000");
  saveTable();
  Startup();
  EXPECT_EQ(logoff_stub::runs(), 1);
  const std::vector<std::string> log{"06/12/2026 09:05 - player - Machine in use PENTIUM4, Number 01",
                                     "06/12/2026 09:05 - player - **** SYSTEM LOGOFF ****",
                                     "06/12/2026 09:05 - player - Process Started - User player",
                                     "06/12/2026 09:05 - player - Process Ended - User player"};
  EXPECT_EQ(logLines(), log);
}

TEST_F(StartupTest, RefusedNewUserInTestModeEndsTheProgram) {
  runWithArguments({"orrindale.exe", "2"});
  vTable.option(kNewUserFlag) = "1";
  saveTable();
  EXPECT_EXIT(Startup(), testing::ExitedWithCode(1), "");
  const std::vector<std::string> log{
      "06/12/2026 09:05 - Admin - **** INVALID USER player ****",
      "06/12/2026 09:05 - player - Machine in use PENTIUM4, Number 01", "06/12/2026 09:05 - player - 1",
      "06/12/2026 09:05 - player - **** Unregistered User with no update allowed - player ****"};
  EXPECT_EQ(logLines(), log);
}

TEST_F(StartupTest, EmptyAccountNameNeverTakesAFreeSlot) {
  rt::setEnv("USERNAME", "");
  saveTable();
  Startup();
  EXPECT_EQ(vSession.currentUser, 0);
  EXPECT_EQ(fileField(1, kAccount), "");
  EXPECT_EQ(logoff_stub::runs(), 2);
}

TEST_F(StartupTest, MissingDataFileLogsOffAndCarriesOnWithDefaults) {
  Startup();
  EXPECT_EQ(logoff_stub::runs(), 2) << "no data file, then an unknown account";
  EXPECT_EQ(vSession.currentUser, 1) << "admitted into the default table";
  EXPECT_FALSE(test_files::exists(dataPath)) << "the data file is never created";
  EXPECT_EQ(recording_ui::callsStartingWith("timer").size(), 2u);
}

TEST_F(StartupTest, MissingDataFileInTestModeLogsAdminUntilIdentified) {
  runWithArguments({"orrindale.exe", "2"});
  Startup();
  const auto log = logLines();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "06/12/2026 09:05 - Admin - Could not find file " + dataPath + " to read from");
  EXPECT_EQ(log[1], "06/12/2026 09:05 - Admin - **** Can't Locate Log file Admin ****");
  EXPECT_EQ(log[2], "06/12/2026 09:05 - Admin - **** INVALID USER player ****");
  EXPECT_EQ(log[3], "06/12/2026 09:05 - player - Machine in use PENTIUM4, Number 01");
  EXPECT_EQ(log.back(), "06/12/2026 09:05 - player - Process Started - User player");
  EXPECT_EQ(logoff_stub::runs(), 0);
}

TEST_F(StartupTest, DamagedDataFileIsNeverWrittenOverWithTheDefaults) {
  placeUser(2, "player", "0020");
  saveTable();
  const std::string cut = cutDataFile(60);
  Startup();
  EXPECT_EQ(logoff_stub::runs(), 2) << "a damaged file, then an unknown account";
  EXPECT_EQ(test_files::readBytes(dataPath), cut);
}

TEST_F(StartupTest, StartUpMinuteThatCannotBeSavedLogsOff) {
  placeUser(2, "player", "0020");
  saveTable();
  rt::injectFileFaults({.writeCallsBeforeFailure = 0});
  Startup();
  EXPECT_EQ(logoff_stub::runs(), 1);
  EXPECT_EQ(fileField(2, kMinutesLeft), "0020");
  EXPECT_EQ(recording_ui::callsStartingWith("timer").size(), 2u) << "start-up carries on";
}
