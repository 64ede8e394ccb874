#pragma once
// The activity log: one time-stamped line per event, appended to the log (or written to the
// console at debug level 1), and the process-wide timestamp parts that every log line refreshes.
#include <string>

struct TimeStamp {
  std::string year;    // "2026"
  std::string month;   // "01" to "12"
  std::string day;     // "01" to "31"
  std::string hour;    // "00" to "23"
  std::string minute;  // "00" to "59"
  int weekday = 1;     // 1 for Sunday to 7 for Saturday
  int dayNumber = 1;   // the day of the month
};

extern TimeStamp vStamp;

// Reads the clock into vStamp.
void MakeTimeStamp();

// Appends "dd/mm/yyyy hh:mm - user - message" where the table lives (table_home.h). A line
// that cannot be written is dropped: the log never stops the program. In a protected install the
// guard writes the line, with the account of this process's token in the user column.
void WriteLog(const std::string& message);
// The same with another user column, for the guard's lines about an account.
void WriteLogAs(const std::string& user, const std::string& message);

// The number formatted with printf's "%0<width>d", as the log and the data file write numbers.
std::string zeroPadded(int number, int width);
