#pragma once
// The hours of the day an account may use the computer: a weekly schedule of up to three periods
// a day, read from the tool's words and from its one-line storage text, and the rules at a moment
// (inside or not, the end ahead, its warnings, the minutes left with it, a day's extension).
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "accounting/table/time_stamp.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"

constexpr int kMostPeriods = 3;

// Minutes of the day [start, end): 0 <= start < end <= 1440, so an end of 1440 is 24:00.
struct Period {
  int start = 0;
  int end = 0;
  bool operator==(const Period&) const = default;
};

// One weekday's periods, sorted, with a gap between each two. The whole day is the one period
// 00:00-24:00 (what a day never set has); no period at all means no use that day.
struct DayHours {
  std::vector<Period> periods{{0, kMostMinutes}};
  bool operator==(const DayHours&) const = default;
};

struct AllowedHours {
  std::array<DayHours, kDays> days;  // Sunday first
  // Read from a damaged storage text: every day has no period, so the account is outside its
  // hours at every moment until a supervisor sets them again.
  bool damaged = false;

  // 1 for Sunday to 7 for Saturday, as TimeStamp::weekday counts.
  DayHours& day(int weekday) { return days.at(weekday - 1); }
  const DayHours& day(int weekday) const { return days.at(weekday - 1); }
  bool operator==(const AllowedHours&) const = default;
};

// Sets the days the words name, each word DAYS=HOURS, later words overriding earlier ones; days
// not named keep what they had, and a damaged schedule becomes a sound one. DAYS is "all", a day
// ("Mon", any letter case), a range ("Mon-Fri"; "Sat-Sun" and "Fri-Mon" wrap round the week), or
// a comma list of those ("Sat,Sun"). HOURS is "any", "none", or one to three periods
// "HH:MM-HH:MM" separated by commas, in any order, none overlapping or touching another. Returns
// "" when it set them, or one sentence saying what is wrong, and then nothing changed.
std::string setHoursProblem(const std::vector<std::string>& words, AllowedHours& hours);

// One day's HOURS as set-hours takes them: "any", "none", or one to three periods. "" when it set
// the day, or one sentence saying what is wrong, and then the day is as it was.
std::string readDayHours(std::string_view text, DayHours& day);

// "20:30"; 1440 is "24:00".
std::string clockText(int minuteOfDay);
// "any", "none" or "07:00-08:00,15:00-20:30".
std::string dayHoursText(const DayHours& day);
// Seven lines for showing, Sunday first, "Mon 07:00-08:00,15:00-20:30" or "Sat any"; a damaged
// schedule shows "Mon damaged" on each.
std::vector<std::string> hoursShowLines(const AllowedHours& hours);

// One line: "hours1 Sun=any Mon=07:00-08:00,15:00-20:30 ... Sat=none", always all seven days.
std::string hoursStorageText(const AllowedHours& hours);
// Reads what hoursStorageText wrote; "" is an account whose hours were never set, the whole of
// every day. Anything else that is not exactly such a text (cut, edited, another version) is
// damage: false, and the schedule becomes damaged. Damage is never guessed round, since a guess
// could give time away.
bool readHoursText(std::string_view text, AllowedHours& hours);
// The log line for an account whose stored hours are damaged.
std::string damagedHoursLine(const std::string& account);

// A moment of local time: the date as yyyymmdd, the weekday 1 (Sunday) to 7, the minute of the day.
struct Moment {
  int date = 0;
  int weekday = 1;
  int minute = 0;
};
Moment momentOf(const TimeStamp& stamp);
// The stamp's date as yyyymmdd.
int dateNumber(const TimeStamp& stamp);
// Whether yyyymmdd is a date of the calendar.
bool validDate(int date);

// Time an approved request added after the hours of one day, kept apart from the weekly schedule
// so that it ends with its day. On that date the account may also use the computer from the end
// of its last period before `end` (from 00:00 on a day with none) up to `end`. A date of 0 is none.
struct HoursExtension {
  int date = 0;
  int end = 0;  // minute of the day, 1 to 1440
  bool operator==(const HoursExtension&) const = default;
};
// "20260314 21:00", "" for none.
std::string extensionStorageText(const HoursExtension& extension);
// False, and no extension, for any other text: a lost extension only takes time away.
bool readExtensionText(std::string_view text, HoursExtension& extension);

// The hours at a moment.
struct HoursNow {
  bool inside = false;   // the account may use the computer now
  bool limited = false;  // inside, and the period ends some time: false only for whole days all week
  // Where the period ends. A period that runs to 24:00 goes on into a next day's period starting
  // at 00:00, so no end falls at midnight in between.
  int endDate = 0;       // yyyymmdd
  int endClock = 0;      // minute of that day, 1 to 1440
  int minutesToEnd = 0;  // from the moment
};
HoursNow hoursAt(const AllowedHours& hours, const Moment& moment, const HoursExtension& extension = {});

// The minutes the account has left today with its hours: none outside them, the minutes to the
// period's end when that comes before the day's minutes run out ("until 20:30"), else the day's.
struct TimeLeft {
  int minutes = 0;
  bool byHours = false;  // the hours set the minutes: outside them, or their end comes first
  int endClock = 0;      // the period's end, when it comes first
};
TimeLeft timeLeftToday(int dailyMinutesLeft, const HoursNow& now);
// "until 20:30" when a period's end comes first, otherwise "".
std::string untilText(const TimeLeft& left);

// The two warnings before a period's end, 10 and 2 minutes before it, as the warnings before the
// day's minutes run out. They are given only when the period ends before those minutes do.
enum class HoursWarning { None, First, Second };
// What has been shown for which end: a new end starts its warnings afresh.
struct HoursWarningsShown {
  int endDate = 0;
  int endClock = 0;
  HoursWarning shown = HoursWarning::None;
};
// The warning to show now, and records it: the later one only when both are due (a logon two
// minutes before the end), and each at most once per end.
HoursWarning hoursWarningDue(const HoursNow& now, int dailyMinutesLeft, HoursWarningsShown& shown);
// "Orrindale will log you off at 20:30"
std::string logOffText(const HoursNow& now);

// The extension of today that lets an approved request's minutes be used: from the end of the
// period the moment is in, or from the moment when it is in none, never past 24:00; an existing
// extension of today only grows, one of an earlier day is dropped. Nothing is added when the
// period goes on past midnight or ends at 24:00, nor for a damaged schedule. Whether an approval
// extends the hours at all is the caller's choice (when its minutes would not fit before the end).
HoursExtension extendedHours(const AllowedHours& hours,
                             const Moment& moment,
                             const HoursExtension& current,
                             int minutes);
// "until 21:00 today"
std::string extensionText(const HoursExtension& extension);
