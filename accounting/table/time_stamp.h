#pragma once
// The process-wide timestamp parts that every counted minute and every log line refresh from the
// clock (the system's clock and time zone), and numbers written as the data file and the log
// write them.
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

// The number formatted with printf's "%0<width>d", as the log and the data file write numbers.
std::string zeroPadded(int number, int width);
