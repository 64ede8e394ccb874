#pragma once
// The activity log read back for the supervisor: per account and day, the starts and orderly
// ends, the starts that followed a copy ended without its end line, clocks moved back,
// log-offs at zero, refused accounts, the guard's restarts and log-offs and the data files it
// put back after a change from outside, and the minutes asked for and how they were answered, as
// aligned text and as JSON. A line counts only for what its message begins with, under the account
// it names; from the start line of a guard that keeps the clock on, an account's logons, log-offs
// and last minutes come from the guard's lines alone.
// Works on text only: the caller reads the log and knows today's date.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// A time as the log writes it, to the minute.
struct LogTime {
  std::chrono::year_month_day day;
  int hour = 0;
  int minute = 0;
};

struct ReportRow {
  std::string account;
  std::chrono::year_month_day day;
  int starts = 0;
  int orderlyEnds = 0;
  // One entry per start that followed a copy with no orderly end (killed or crashed): the
  // time of that copy's last log line.
  std::vector<LogTime> afterUnendedCopy;
  // The last-used stamps the clock moved back from, one per move.
  std::vector<LogTime> clockMovesBack;
  int logoffsAtZero = 0;
  int refusals = 0;
  int guardRestarts = 0;
  int guardLogoffs = 0;
  // In the guard's own row: the data file changed by another program and put back.
  int filesRestored = 0;
  // The minutes of the requests for more time asked on the day, and of those approved (the
  // minutes granted), refused and ended unanswered at midnight (the minutes asked).
  int minutesAsked = 0;
  int minutesGranted = 0;
  int minutesRefused = 0;
  int minutesExpired = 0;
};

struct LogReport {
  std::chrono::year_month_day today;
  int days = 0;                 // today and the days - 1 before it; 0 for the whole log
  std::vector<ReportRow> rows;  // by account, then by day
  int unreadLines = 0;          // lines of the whole log not of the form "dd/mm/yyyy hh:mm - user - message"
};

// Reads the whole log, line by line (LF or CR LF); lines it does not understand are read
// past. Keeps the rows of the window and those dated after today, which only a clock set
// ahead can write.
LogReport buildLogReport(std::string_view logText, std::chrono::year_month_day today, int days);

// The report as a table with one row per account and day, the times of each row below it.
std::string reportText(const LogReport& report);
// The report as one JSON object: {"today", "days", "unreadLines", "rows": [...]}, dates
// "yyyy-mm-dd", times "yyyy-mm-dd hh:mm".
std::string reportJson(const LogReport& report);
