// The real program's allowed hours under Wine, in normal use and on the real clock: a period's
// end warned of with its time and then logged off by the program's own minute timer, and a
// logon outside the hours logged off at once. The hours file is written beside the data file
// with the tool's words.
#include <string>

#include "accounting/data_file/hours_file.h"
#include "accounting/hours/hours_book.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/period_end.h"
#include "tests/fixtures/logoff_stub.h"

namespace {

// The hours of alice, or the default of every account without hours of its own.
void writeHours(const std::string& words, bool asDefault = false) {
  HoursBook book;
  AllowedHours& hours = asDefault ? book.defaults : book.accounts["alice"];
  ASSERT_EQ(setHoursProblem({words}, hours), "");
  ASSERT_TRUE(saveHoursFile(book));
}

constexpr const char* kOutsideLine = " - alice - **** OUTSIDE ALLOWED HOURS ****";

// The program's log-off ran and returned: the stand-in recorded it, and the program's thread,
// which waits for the command, answers messages again. Ended while it waits, the program would
// leave the command interpreter hanging under Wine, holding the test run's output open.
bool loggedOff(OrrindaleProcess& program) {
  return waitUntil([] { return logoff_stub::runs() == 1; }) && waitUntil([&] {
           return SendMessageTimeoutA(program.window(kHostWindow), WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr) != 0;
         });
}

}  // namespace

TEST_F(OrrindaleEndToEnd, APeriodsEndIsWarnedOfAndLogsOffByTheMinuteTimerWhileTheWarningStaysOpen) {
  const int end = nextPeriodEnd();
  prepareDataFile("0060");
  writeHours("all=00:00-" + clockText(end));
  logoff_stub::install();
  OrrindaleProcess program("alice", "ATHLON", "0");
  HWND box = waitForBox(program.id(), "Orrindale");
  ASSERT_NE(box, nullptr) << "a logon within two minutes of the end is warned at once";
  EXPECT_EQ(textOf(GetDlgItem(box, 0xFFFF)), "Orrindale will log you off at " + clockText(end));
  EXPECT_TRUE(started(program));

  // The box is left open, as a child may leave it; no tick is sent: the program's own timer,
  // a minute after its start and so after the end, comes to the end.
  EXPECT_TRUE(waitUntil([&] { return logHas(kOutsideLine); }, 150000));
  EXPECT_TRUE(loggedOff(program));
}

TEST_F(OrrindaleEndToEnd, ALogonOutsideTheAllowedHoursIsLoggedOffAtOnce) {
  prepareDataFile("0060");
  writeHours("all=none", true);
  logoff_stub::install();
  OrrindaleProcess program("alice", "ATHLON", "0");
  ASSERT_TRUE(started(program));
  EXPECT_TRUE(waitUntil([&] { return logHas(kOutsideLine); }));
  EXPECT_TRUE(loggedOff(program));
}
