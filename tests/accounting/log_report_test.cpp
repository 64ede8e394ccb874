// The supervisor's report built from the activity log: what each case counts per account and
// day, and the report as an aligned table and as JSON.
#include "accounting/log/log_report.h"

#include <gtest/gtest.h>

using namespace std::chrono;

namespace {
constexpr year_month_day kToday{year{2026}, December, day{6}};

// Every case the report counts, as copies of the program and the guard write them, with
// lines of other kinds between them and a few lines that are not log lines at all.
constexpr std::string_view kLog =
    // alice: a copy killed after 09:30, then a start and an orderly end.
    "05/12/2026 08:00 - alice - Machine in use DAD, Number 00\n"
    "05/12/2026 08:00 - alice - Process Started - User alice\r\n"
    "05/12/2026 09:30 - alice - User alice, Time 20\n"
    "05/12/2026 10:00 - alice - Machine in use DAD, Number 00\n"
    "05/12/2026 10:00 - alice - New day allowance\n"
    "05/12/2026 10:00 - alice - Process Started - User alice\n"
    "05/12/2026 11:00 - alice - Process Ended - User alice\r\n"
    // mallory refused in normal use; newbie admitted into a free slot.
    "06/12/2026 07:00 - Admin - **** INVALID USER mallory ****\n"
    "06/12/2026 07:00 - mallory - Machine in use DAD, Number 00\n"
    "06/12/2026 07:00 - mallory - Process Started - User mallory\n"
    "06/12/2026 07:01 - mallory - Process Ended - User mallory\n"
    "06/12/2026 07:05 - Admin - **** INVALID USER newbie ****\n"
    "06/12/2026 07:05 - newbie - Machine in use DAD, Number 00\n"
    "06/12/2026 07:05 - newbie - Found one - 02\n"
    "06/12/2026 07:05 - newbie - Process Started - User newbie\n"
    "this is not a log line\n"
    // bob: one move back seen by two copies, a log-off at zero, and a start at zero.
    "06/12/2026 08:00 - bob - Machine in use DAD, Number 00\n"
    "06/12/2026 08:00 - bob - **** CLOCK MOVED BACK from 07/12/2026 20:15 ****\n"
    "06/12/2026 08:00 - bob - Process Started - User bob\n"
    "06/12/2026 08:01 - bob - **** CLOCK MOVED BACK from 07/12/2026 20:15 ****\n"
    "06/12/2026 09:00 - bob - **** SYSTEM LOGOFF ****\n"
    "06/12/2026 09:00 - bob - Process Ended - User bob\n"
    "06/12/2026 09:10 - bob - Machine in use DAD, Number 00\n"
    "06/12/2026 09:10 - bob - **** SYSTEM LOGOFF ****\n"
    "06/12/2026 09:10 - bob - Process Started - User bob\n"
    "06/12/2026 09:10 - bob - Process Ended - User bob\n"
    // carol in test mode: at zero every minute, killed, restarted by the guard, logged off.
    "06/12/2026 09:20 - carol - Process Started - User carol\n"
    "06/12/2026 09:21 - carol - **** SYSTEM LOGOFF ****\n"
    "06/12/2026 09:22 - carol - **** SYSTEM LOGOFF ****\n"
    "06/12/2026 09:30 - carol - Guard restarted Orrindale - User carol\n"
    "06/12/2026 09:30 - carol - Machine in use DAD, Number 00\n"
    "06/12/2026 09:30 - carol - Process Started - User carol\n"
    "06/12/2026 09:40 - carol - Guard logged off carol\n"
    "32/12/2026 10:00 - alice - Process Started - User alice\n"
    "06/12/2026 10:00 alice - Process Started - User alice\n"
    "06/12/2026 10:00 - no message column\n"
    // dave refused in test mode: the program ends before its start line.
    "06/12/2026 10:00 - Admin - **** INVALID USER dave ****\n"
    "06/12/2026 10:00 - dave - Machine in use DAD, Number 00\n"
    "06/12/2026 10:00 - dave - 1\n"
    "06/12/2026 10:00 - dave - **** Unregistered User with no update allowed - dave ****\n"
    // A clock set ahead wrote this.
    "08/12/2026 12:00 - erin - Process Started - User erin";

std::string row(const ReportRow& r) {
  std::string text = r.account + " " + std::to_string(static_cast<unsigned>(r.day.day())) + ":";
  for (int count :
       {r.starts, r.orderlyEnds, static_cast<int>(r.afterUnendedCopy.size()), static_cast<int>(r.clockMovesBack.size()),
        r.logoffsAtZero, r.refusals, r.guardRestarts, r.guardLogoffs})
    text.append(" ").append(std::to_string(count));
  return text;
}
}  // namespace

TEST(LogReport, CountsEachCaseOncePerAccountAndDay) {
  const LogReport report = buildLogReport(kLog, kToday, 0);
  std::vector<std::string> rows;
  for (const ReportRow& r : report.rows)
    rows.push_back(row(r));
  // starts, ends, after an unended copy, clock back, zero log-offs, refused, guard restarts, guard log-offs
  const std::vector<std::string> expected{
      "alice 5: 2 1 1 0 0 0 0 0", "bob 6: 2 2 0 1 2 0 0 0",     "carol 6: 2 0 1 0 1 0 1 1", "dave 6: 0 0 0 0 0 1 0 0",
      "erin 8: 1 0 0 0 0 0 0 0",  "mallory 6: 1 1 0 0 0 1 0 0", "newbie 6: 1 0 0 0 0 0 0 0"};
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(report.unreadLines, 4);
}

TEST(LogReport, TextShowsTheWindowAsAnAlignedTableWithTheTimesBelowEachRow) {
  const std::string expected =
      "Orrindale activity, the last 2 days, to 06/12/2026\n"
      "Account  Date        Starts  Ended  After unended  Clock back  Zero log-offs  Refused  Guard restarts  "
      "Guard log-offs\n"
      "alice    05/12/2026       2      1              1           0              0        0               0  "
      "             0\n"
      "    started after a copy with no orderly end; its last line 05/12/2026 09:30\n"
      "bob      06/12/2026       2      2              0           1              2        0               0  "
      "             0\n"
      "    clock moved back from 07/12/2026 20:15\n"
      "carol    06/12/2026       2      0              1           0              1        0               1  "
      "             1\n"
      "    started after a copy with no orderly end; its last line 06/12/2026 09:22\n"
      "dave     06/12/2026       0      0              0           0              0        1               0  "
      "             0\n"
      "erin     08/12/2026       1      0              0           0              0        0               0  "
      "             0\n"
      "mallory  06/12/2026       1      1              0           0              0        1               0  "
      "             0\n"
      "newbie   06/12/2026       1      0              0           0              0        0               0  "
      "             0\n"
      "4 line(s) of the log could not be read.\n";
  EXPECT_EQ(reportText(buildLogReport(kLog, kToday, 2)), expected);

  const LogReport today = buildLogReport(kLog, kToday, 1);
  ASSERT_EQ(today.rows.size(), 6u) << "alice's day before is left out, erin's day ahead kept";
  EXPECT_EQ(today.rows.front().account, "bob");
  EXPECT_EQ(reportText(buildLogReport("", kToday, 7)),
            "Orrindale activity, the last 7 days, to 06/12/2026\nNo activity logged.\n");
}

TEST(LogReport, JsonEscapesNamesAndWritesIsoTimes) {
  const std::string log =
      "01/01/2027 00:05 - o\"k\\\xe9 - Process Started - User o\"k\\\xe9\n"
      "01/01/2027 00:06 - o\"k\\\xe9 - **** CLOCK MOVED BACK from 31/12/2027 23:59 ****\n"
      "01/01/2027 00:07 - o\"k\\\xe9 - Process Started - User o\"k\\\xe9\n";
  const std::string expected =
      "{\"today\": \"2027-01-01\", \"days\": 0, \"unreadLines\": 0, \"rows\": [\n"
      "  {\"account\": \"o\\\"k\\\\\\u00e9\", \"date\": \"2027-01-01\", \"starts\": 2, \"orderlyEnds\": 0, "
      "\"afterUnendedCopy\": [\"2027-01-01 00:06\"], \"clockMovesBack\": [\"2027-12-31 23:59\"], "
      "\"logoffsAtZero\": 0, \"refused\": 0, \"guardRestarts\": 0, \"guardLogoffs\": 0, \"filesRestored\": 0, "
      "\"minutesAsked\": 0, \"minutesGranted\": 0, \"minutesRefused\": 0, \"minutesExpired\": 0}\n"
      "]}\n";
  EXPECT_EQ(reportJson(buildLogReport(log, year_month_day{year{2027}, January, day{1}}, 0)), expected);
  EXPECT_EQ(reportJson(buildLogReport("", kToday, 3)),
            "{\"today\": \"2026-12-06\", \"days\": 3, \"unreadLines\": 0, \"rows\": []}\n");
}

TEST(LogReport, CountsAMarkerOnlyAtTheStartOfTheMessageUnderItsOwnNameAndFromTheGuardThatKeepsTheClock) {
  const std::string log =
      // Forged through a copy's log lines: a marker after text of its own, about another account,
      // or a line of the guard's own under a copy's name.
      "06/12/2026 07:00 - kid - x - Guard restarted Orrindale - User FORGED\n"
      "06/12/2026 07:00 - kid - x - **** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****\n"
      "06/12/2026 07:00 - kid - Guard logged off bob - no minutes left\n"
      "06/12/2026 07:00 - kid - **** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****\n"
      "06/12/2026 07:00 - kid - Process Started - User kid\n"
      // From the guard's start on, the copy's lines are shown, not counted.
      "06/12/2026 07:01 - Guard - Guard started - it keeps the table and the clock\n"
      "06/12/2026 07:02 - kid - Guard saw a logon - User kid\n"
      "06/12/2026 07:03 - kid - Process Ended - User kid\n"
      "06/12/2026 07:03 - kid - **** SYSTEM LOGOFF ****\n"
      "06/12/2026 07:04 - kid - Process Started - User kid\n"
      "06/12/2026 07:05 - kid - Guard saw a logon - User bob\n";
  const LogReport report = buildLogReport(log, kToday, 0);
  std::vector<std::string> rows;
  for (const ReportRow& r : report.rows)
    rows.push_back(row(r) + " " + std::to_string(r.filesRestored));
  EXPECT_EQ(rows, std::vector<std::string>{"kid 6: 2 0 0 0 0 0 0 0 0"})
      << "one start of its own copy before the guard kept the clock, one logon the guard saw";
}

TEST(LogReport, CountsTheMinutesOfRequestsUnderTheirOwnAccountOnTheDayAsked) {
  const std::string log =
      "05/12/2026 19:00 - kid - Request 1 - kid asks 30 minutes: essay\n"
      "05/12/2026 19:05 - kid - Request 1 - approved, 45 minutes for kid\n"
      "05/12/2026 20:00 - kid - Request 2 - kid asks 15 minutes: asks 60 minutes\n"
      // Ended at midnight: counted on the day it was asked.
      "06/12/2026 00:00 - kid - Request 2 - expired unanswered, 15 minutes for kid\n"
      "06/12/2026 07:00 - Guard - Guard started - it keeps the table and the clock\n"
      "06/12/2026 08:00 - bob - Request 3 - bob asks 60 minutes\n"
      "06/12/2026 08:10 - bob - Request 3 - refused, 60 minutes for bob\n"
      // Forged or misplaced: another account's answer, a marker after text, an answer under the tool's name.
      "06/12/2026 08:20 - kid - Request 3 - approved, 60 minutes for bob\n"
      "06/12/2026 08:20 - kid - x - Request 4 - kid asks 60 minutes\n"
      "06/12/2026 08:20 - parent - Request 1 - approved, 45 minutes for kid\n";
  const LogReport report = buildLogReport(log, kToday, 0);
  std::vector<std::string> rows;
  for (const ReportRow& r : report.rows)
    rows.push_back(r.account + " " + std::to_string(static_cast<unsigned>(r.day.day())) + ": " +
                   std::to_string(r.minutesAsked) + " " + std::to_string(r.minutesGranted) + " " +
                   std::to_string(r.minutesRefused) + " " + std::to_string(r.minutesExpired));
  EXPECT_EQ(rows, (std::vector<std::string>{"bob 6: 60 0 60 0", "kid 5: 45 45 0 15"}));
  EXPECT_NE(reportText(report).find("    more time: 45 minutes asked, 45 granted, 0 refused, 15 expired unanswered\n"),
            std::string::npos)
      << reportText(report);
  EXPECT_NE(reportJson(report).find(
                "\"minutesAsked\": 60, \"minutesGranted\": 0, \"minutesRefused\": 60, \"minutesExpired\": 0}"),
            std::string::npos);
}
