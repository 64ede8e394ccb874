// The minute tick: counting down, the warnings at 10 and 2 minutes, the log-off at zero, test
// mode, a new day's allowance, the clock moved back, a data file that cannot be read or saved,
// the allowed hours, and the answer to a request for more time.
#include "accounting/program/minute_tick.h"
#include "accounting/data_file/hours_file.h"
#include "accounting/hours/allowed_hours.h"
#include "accounting/hours/hours_book.h"
#include "accounting/program/request_watch.h"
#include "accounting/table/table_home.h"

#include "accounting/log/activity_log.h"
#include "accounting/table/password_hash.h"
#include "runtime/file_faults.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"
#include "tests/fixtures/recording_ui.h"
#include "tests/fixtures/sim_clock.h"
#include "tests/fixtures/tick_fixture.h"

namespace {
std::string warningBox(const std::string& minutes) {
  return "box Orrindale|Please save your work\nYou only have " + minutes + " minutes left";
}
}  // namespace

class MinuteTick : public TickTest {
 protected:
  // A user in slot 1, counted earlier today.
  void startWith(const std::string& minutesLeft) {
    placeUser(1, "player", minutesLeft);
    vSession.currentUser = 1;
    vSession.userName = "player";
    saveTable();
  }
  std::vector<std::string> boxes() { return recording_ui::callsStartingWith("box "); }
};

TEST_F(MinuteTick, SameDayCountsDownAndWarnsOnceAtTenAndOnceAtTwo) {
  startWith("0012");
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0011");
  EXPECT_EQ(vSession.minutesLeft, 11);
  EXPECT_TRUE(boxes().empty());

  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0010");
  EXPECT_EQ(boxes(), std::vector<std::string>{warningBox("010")});

  for (int i = 0; i < 7; ++i)
    DoEachMin();  // down to 3
  EXPECT_EQ(boxes().size(), 1u);
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0002");
  EXPECT_EQ(boxes(), (std::vector<std::string>{warningBox("010"), warningBox("002")}));
  DoEachMin();
  EXPECT_EQ(boxes().size(), 2u) << "each warning once per run";
  EXPECT_EQ(logoff_stub::runs(), 0);
}

TEST_F(MinuteTick, TickInsideAnOpenWarningNeitherRepeatsTheBoxNorLosesAMinute) {
  startWith("0011");
  recording_ui::whileBoxIsOpen([] {
    EXPECT_EQ(vSession.firstWarningShown, 1) << "the flag is set before the box opens";
    DoEachMin();
  });
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0009");
  EXPECT_EQ(boxes(), std::vector<std::string>{warningBox("010")});
}

TEST_F(MinuteTick, ReachingZeroLogsOffAtEveryTick) {
  startWith("0001");
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0000");
  EXPECT_EQ(logoff_stub::runs(), 1);
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0000");
  EXPECT_EQ(logoff_stub::runs(), 2);
  EXPECT_EQ(fileField(1, kLastMinute), "05") << "the record is still stamped and saved";
}

TEST_F(MinuteTick, EmptyOrNonNumericMinutesReadAsZero) {
  for (const char* minutes : {"", "abc"}) {
    startWith(minutes);
    DoEachMin();
    EXPECT_EQ(fileField(1, kMinutesLeft), "0000") << minutes;
  }
  EXPECT_EQ(logoff_stub::runs(), 2);
}

TEST_F(MinuteTick, TestModeLogsTheMinuteAndTheLogOffInstead) {
  vSession.debugLevel = 2;
  startWith("0001");
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 0);
  const std::vector<std::string> expected{"06/12/2026 09:05 - player - User player, Time 00",
                                          "06/12/2026 09:05 - player - **** SYSTEM LOGOFF ****"};
  EXPECT_EQ(logLines(), expected);
}

TEST_F(MinuteTick, NewDayLoadsTodaysAllowanceVerbatimWithoutALogOffCheck) {
  placeUser(1, "player", "0000", 2026, 12, 5);
  vTable.user(1).field(kSundayAllowance) = "030";  // today is a Sunday
  vSession.currentUser = 1;
  vSession.userName = "player";
  saveTable();
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "030");
  EXPECT_EQ(fileField(1, kLastDay), "06");
  EXPECT_EQ(fileField(1, kMachine), "PENTIUM4");
  EXPECT_EQ(vSession.minutesLeft, 111) << "minutes left keeps its value in this minute";
  EXPECT_EQ(logoff_stub::runs(), 0);
  EXPECT_EQ(logLines(), std::vector<std::string>{"06/12/2026 09:05 - player - New day allowance"});

  sim_clock::advance(60);
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0029");
  EXPECT_EQ(fileField(1, kLastMinute), "06");
}

TEST_F(MinuteTick, SameDayOfAnotherMonthOrYearIsANewDay) {
  vSession.currentUser = 1;
  vSession.userName = "player";
  for (auto [year, month] : {std::pair{2026, 11}, std::pair{2025, 12}}) {
    placeUser(1, "player", "0000", year, month, 6);
    saveTable();
    DoEachMin();
    EXPECT_EQ(fileField(1, kMinutesLeft), "30") << year << "/" << month;
    EXPECT_EQ(fileField(1, kLastYear) + fileField(1, kLastMonth), "202612");
  }
  EXPECT_EQ(logoff_stub::runs(), 0);
}

TEST_F(MinuteTick, OnlyALaterDateIsANewDayAndAnEarlierOneIsAClockMovedBack) {
  struct Case {
    int year, month, day;
    const char* minutesAfter;
    const char* logLine;  // "" for none
  };
  // Today is Sunday 06/12/2026, allowed 30; the record holds 20 minutes, last used at 08:00.
  const Case cases[] = {{2026, 12, 5, "30", "New day allowance"},
                        {2026, 12, 6, "0019", ""},
                        {2026, 11, 7, "30", "New day allowance"},
                        {2026, 12, 7, "0019", "**** CLOCK MOVED BACK from 07/12/2026 08:00 ****"},
                        {2027, 1, 6, "0019", "**** CLOCK MOVED BACK from 06/01/2027 08:00 ****"},
                        {2027, 12, 6, "0019", "**** CLOCK MOVED BACK from 06/12/2027 08:00 ****"},
                        {2027, 1, 5, "0019", "**** CLOCK MOVED BACK from 05/01/2027 08:00 ****"}};
  vSession.currentUser = 1;
  vSession.userName = "player";
  for (const Case& c : cases) {
    placeUser(1, "player", "0020", c.year, c.month, c.day);
    saveTable();
    test_files::remove(logPath);
    DoEachMin();
    const std::string stored = zeroPadded(c.day, 2) + "/" + zeroPadded(c.month, 2) + "/" + zeroPadded(c.year, 4);
    const bool movedBack = std::string(c.logLine).starts_with("**** CLOCK");
    EXPECT_EQ(fileField(1, kMinutesLeft), c.minutesAfter) << stored;
    EXPECT_EQ(fileField(1, kLastDay) + "/" + fileField(1, kLastMonth) + "/" + fileField(1, kLastYear) + " " +
                  fileField(1, kLastHour) + ":" + fileField(1, kLastMinute),
              movedBack ? stored + " 08:00" : "06/12/2026 09:05")
        << "a clock moved back leaves the later stamp";
    EXPECT_EQ(fileField(1, kMachine), "PENTIUM4") << stored;
    EXPECT_EQ(logLines(), *c.logLine ? std::vector<std::string>{"06/12/2026 09:05 - player - " + std::string(c.logLine)}
                                     : std::vector<std::string>{})
        << stored;
  }
}

TEST_F(MinuteTick, AClockMovedBackIsLoggedOncePerMoveByARun) {
  placeUser(1, "player", "0020", 2026, 12, 7);
  vSession.currentUser = 1;
  vSession.userName = "player";
  saveTable();
  const std::string moved = "06/12/2026 09:05 - player - **** CLOCK MOVED BACK from 07/12/2026 08:00 ****";
  DoEachMin();
  sim_clock::advance(60);
  DoEachMin();
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0017");
  EXPECT_EQ(logLines(), std::vector<std::string>{moved});

  sim_clock::install(2026, 12, 7, 7, 30);  // the date catches up, the time not yet: counting goes on
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0016");
  EXPECT_EQ(fileField(1, kLastHour) + fileField(1, kLastMinute), "0730");
  sim_clock::install(2026, 12, 6, 23, 0);  // moved back again: a new move from the new stamp
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0015");
  EXPECT_EQ(logLines().back(), "06/12/2026 23:00 - player - **** CLOCK MOVED BACK from 07/12/2026 07:30 ****");
  EXPECT_EQ(logLines().size(), 2u);
}

TEST_F(MinuteTick, ReachingZeroInNormalUseLogsTheLogOffAndTheRunsEndOnce) {
  startWith("0001");
  vSession.runLines = RunLines::Started;
  DoEachMin();
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 2);
  const std::vector<std::string> expected{"06/12/2026 09:05 - player - **** SYSTEM LOGOFF ****",
                                          "06/12/2026 09:05 - player - Process Ended - User player",
                                          "06/12/2026 09:05 - player - **** SYSTEM LOGOFF ****"};
  EXPECT_EQ(logLines(), expected);
}

TEST_F(MinuteTick, UnreadableDataFileStopsTheTick) {
  startWith("0020");
  test_files::remove(dataPath);
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 1);
  EXPECT_FALSE(test_files::exists(dataPath));
  EXPECT_EQ(recording_ui::calls(), std::vector<std::string>{"hide"});

  vSession.debugLevel = 2;
  DoEachMin();
  EXPECT_EQ(logLines().back(), "06/12/2026 09:05 - player - **** Can't Locate Log file player ****");
}

TEST_F(MinuteTick, NegativeMinutesCountAsNoneInsteadOfWrappingRound) {
  for (const char* minutes : {"-5", "-2147483648", "-99999999999"}) {
    startWith(minutes);
    DoEachMin();
    EXPECT_EQ(fileField(1, kMinutesLeft), "0000") << minutes;
    EXPECT_EQ(vSession.minutesLeft, 0) << minutes;
  }
  // The lowest number as an allowance reaches the count through a new day's copy.
  placeUser(1, "player", "0030", 2026, 12, 5);
  vTable.user(1).field(kSundayAllowance) = "-2147483648";
  saveTable();
  DoEachMin();
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0000");
  EXPECT_EQ(logoff_stub::runs(), 4);
}

TEST_F(MinuteTick, ATickWhoseSaveFailsIsTreatedLikeAnUnreadableFile) {
  startWith("0020");
  const std::string before = test_files::readBytes(dataPath);
  rt::injectFileFaults({.writeCallsBeforeFailure = 0});
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 1) << "the minute could not be kept";
  EXPECT_EQ(test_files::readBytes(dataPath), before);
  EXPECT_EQ(recording_ui::calls(), std::vector<std::string>{"hide"});

  vSession.debugLevel = 2;
  rt::injectFileFaults({.writeCallsBeforeFailure = 0});
  DoEachMin();
  const auto log = logLines();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "06/12/2026 09:05 - player - Could not write file " + dataPath);
  EXPECT_EQ(log.back(), "06/12/2026 09:05 - player - **** Can't Locate Log file player ****");
  EXPECT_EQ(test_files::readBytes(dataPath), before);
}

TEST_F(MinuteTick, DamagedDataFileLogsOffAndIsLeftAsItIs) {
  startWith("0020");
  const std::string cut = cutDataFile(60);
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 1);
  EXPECT_EQ(test_files::readBytes(dataPath), cut);
}

TEST_F(MinuteTick, WithoutACurrentUserTheTableIsStillSavedButNothingCounted) {
  startWith("0020");
  vSession.currentUser = 0;
  vTable.password = "changed elsewhere";  // the reload overwrites this
  DoEachMin();
  EXPECT_EQ(fileField(1, kMinutesLeft), "0020");
  EXPECT_TRUE(passwordOpens(dataFileFields()[0], "quillsun"));
  EXPECT_EQ(recording_ui::calls(), std::vector<std::string>{"hide"});
}

TEST_F(MinuteTick, StartingAtTwoMinutesLogsOffThenWarnsTwice) {
  startWith("0001");  // start-up already counted "0002" down to "0001"
  recording_ui::whileBoxIsOpen([] { EXPECT_EQ(logoff_stub::runs(), 1) << "the log-off comes before the box"; });
  DoEachMin();
  EXPECT_EQ(boxes(), (std::vector<std::string>{warningBox("000"), warningBox("000")}));
}

TEST_F(MinuteTick, TicShowsUserAndABlinkingClock) {
  vSession.userName = "player";
  Tic();
  Tic();
  const std::vector<std::string> expected{"hide", "status 1 User: player", "status 3 Time: 09:05",
                                          "hide", "status 1 User: player", "status 3 Time: 09 05"};
  EXPECT_EQ(recording_ui::calls(), expected);
  EXPECT_EQ(vSession.BlinkPhase, 1);
}

TEST_F(MinuteTick, TrayFlashesOnlyBelowElevenMinutes) {
  vSession.minutesLeft = 11;
  Tic();
  EXPECT_TRUE(recording_ui::callsStartingWith("tray").empty());
  vSession.minutesLeft = 10;
  Tic();
  EXPECT_EQ(recording_ui::callsStartingWith("tray"), std::vector<std::string>{"tray 1"});
}

TEST(LogOffUser, RunsTheLogoffCommandAndWaitsForIt) {
  logoff_stub::install();
  LogOffUser();
  EXPECT_EQ(logoff_stub::runs(), 1) << "the command has finished when LogOffUser returns";
}

TEST_F(MinuteTick, AllowedHoursAreWarnedOfWithTheirEndAndOutsideThemTheAccountIsLoggedOff) {
  startWith("0100");
  AllowedHours hours;
  ASSERT_EQ(setHoursProblem({"all=00:00-09:17"}, hours), "");
  ASSERT_EQ(vHome.saveHours("player", hours, "hours of player set").kind, SaveOutcome::Saved);
  DoEachMin();  // 09:05, 12 minutes before the end
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(vSession.hoursUntil, "until 09:17") << "the period ends before the day's 99 minutes";
  sim_clock::advance(120);
  DoEachMin();
  EXPECT_EQ(boxes(), std::vector<std::string>{"box Orrindale|Orrindale will log you off at 09:17"});
  sim_clock::advance(480);
  DoEachMin();
  EXPECT_EQ(boxes().size(), 2u) << "and again two minutes before";
  EXPECT_EQ(logoff_stub::runs(), 0);
  sim_clock::advance(120);
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 1);
  EXPECT_EQ(logLines().back(), "06/12/2026 09:17 - player - **** OUTSIDE ALLOWED HOURS ****");
}

TEST_F(MinuteTick, MovingTheSystemsZoneMovesNoAllowedHoursButAnOlderBookWithoutAZoneFollowsIt) {
  startWith("0100");
  AllowedHours hours;
  ASSERT_EQ(setHoursProblem({"all=00:00-09:17"}, hours), "");
  ASSERT_EQ(vHome.saveHours("player", hours, "hours of player set").kind, SaveOutcome::Saved);
  sim_clock::advance(15 * 60);  // 09:20, outside
  sim_clock::moveSystemZone(-60);
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 1) << "an hour back on the system's clock is still past 09:17";
  EXPECT_EQ(logLines().back(), "06/12/2026 08:20 - player - **** OUTSIDE ALLOWED HOURS ****");

  // A book written before zones were kept has only the system's zone to go by.
  HoursBook book;
  ASSERT_EQ(vHome.loadHours(book).kind, HoursLoad::Loaded);
  ASSERT_TRUE(book.zone.has_value());
  book.zone.reset();
  ASSERT_TRUE(saveHoursFile(book));
  DoEachMin();
  EXPECT_EQ(logoff_stub::runs(), 1);
  EXPECT_EQ(vSession.hoursUntil, "until 09:17");
}

TEST_F(MinuteTick, TheAnswerToTheAccountsWaitingRequestComesOnceInABalloon) {
  startWith("0100");
  const auto balloons = [] { return recording_ui::callsStartingWith("balloon "); };
  int number = 0;
  ASSERT_EQ(vHome.askForTime(30, "essay", number), "");
  requestSent(number, 30);
  EXPECT_EQ(waitingText(), "Asked for 30 minutes - waiting");
  DoEachMin();
  EXPECT_TRUE(balloons().empty());
  std::vector<std::string> done;
  ASSERT_EQ(vHome.answerRequest(number, 1, std::nullopt, done).kind, SaveOutcome::Saved);
  DoEachMin();
  DoEachMin();
  EXPECT_EQ(balloons(), std::vector<std::string>{"balloon Orrindale|Request 1 approved: 1 more minute today"});
  EXPECT_EQ(waitingText(), "");

  // Asked by another copy of the account: this one learns of it at its next minute.
  sim_clock::advance(600);
  ASSERT_EQ(vHome.askForTime(15, "", number), "");
  DoEachMin();
  EXPECT_EQ(waitingText(), "Asked for 15 minutes - waiting");
  ASSERT_EQ(vHome.answerRequest(number, 0, std::nullopt, done).kind, SaveOutcome::Saved);
  DoEachMin();
  EXPECT_EQ(balloons().back(), "balloon Orrindale|Request 2 refused");
}
