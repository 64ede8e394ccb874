#include "accounting/hours/allowed_hours.h"

#include <algorithm>
#include <cctype>
#include <chrono>

#include "accounting/log/log_texts.h"
#include "accounting/table/stored_text.h"

namespace {
constexpr std::string_view kStorageMarker = "hours1";
constexpr const char* kDaysHelp = "use Sun, Mon, Tue, Wed, Thu, Fri, Sat, a range such as Mon-Fri, or all";

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

bool sameLetters(std::string_view text, std::string_view word) {
  return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

int weekdayNamed(std::string_view text) {
  for (int day = 1; day <= kDays; ++day)
    if (sameLetters(text, dayName(day)))
      return day;
  return 0;
}

bool byStart(const Period& a, const Period& b) {
  return a.start < b.start;
}

int nextWeekday(int weekday) {
  return weekday % kDays + 1;
}

// The days an item of a DAYS list names: "all", a day, or a range that may wrap round the week.
std::string markDays(std::string_view item, std::array<bool, kDays>& days) {
  if (sameLetters(item, "all")) {
    days.fill(true);
    return "";
  }
  const std::size_t dash = item.find('-');
  const int first = weekdayNamed(item.substr(0, dash));
  const int last = dash == item.npos ? first : weekdayNamed(item.substr(dash + 1));
  if (first == 0 || last == 0)
    return quoted(item) + " is not a day: " + kDaysHelp;
  for (int day = first;; day = nextWeekday(day)) {
    days[day - 1] = true;
    if (day == last)
      return "";
  }
}

// "HH:MM" with hours 00 to 23 and minutes 00 to 59, or "24:00".
bool readClock(std::string_view text, int& minute) {
  if (text.size() != 5 || text[2] != ':')
    return false;
  for (std::size_t i : {0, 1, 3, 4})
    if (text[i] < '0' || text[i] > '9')
      return false;
  const int hours = (text[0] - '0') * 10 + (text[1] - '0');
  const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
  minute = hours * 60 + minutes;
  return (hours <= 23 && minutes <= 59) || (hours == 24 && minutes == 0);
}

std::string periodText(const Period& period) {
  return clockText(period.start) + "-" + clockText(period.end);
}

std::string readClockProblem(std::string_view text, int& minute) {
  if (!readClock(text, minute))
    return quoted(text) + " is not a time: hours go from 00 to 23 and minutes from 00 to 59 (24:00 only as an end)";
  return "";
}

std::string readPeriod(std::string_view text, Period& period) {
  const std::size_t dash = text.find('-');
  if (dash == text.npos)
    return quoted(text) + " is not a period HH:MM-HH:MM";
  std::string problem = readClockProblem(text.substr(0, dash), period.start);
  if (problem.empty())
    problem = readClockProblem(text.substr(dash + 1), period.end);
  if (!problem.empty())
    return problem;
  if (period.start == kMostMinutes)
    return "the period " + quoted(text) + " starts at 24:00, which is only an end";
  if (period.end <= period.start)
    return "the period " + quoted(text) + " does not end after it starts";
  return "";
}
}  // namespace

std::string readDayHours(std::string_view text, DayHours& day) {
  if (sameLetters(text, "any")) {
    day = DayHours{};
    return "";
  }
  if (sameLetters(text, "none")) {
    day.periods.clear();
    return "";
  }
  if (text.empty())
    return "no hours given: use any, none or periods such as 07:00-08:00,15:00-20:30";
  const std::vector<std::string_view> parts = splitText(text, ',');
  if (parts.size() > static_cast<std::size_t>(kMostPeriods))
    return quoted(text) + " has " + std::to_string(parts.size()) + " periods; a day has at most " +
           std::to_string(kMostPeriods);
  std::vector<Period> periods(parts.size());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string problem = readPeriod(parts[i], periods[i]);
    if (!problem.empty())
      return problem;
  }
  std::sort(periods.begin(), periods.end(), byStart);
  // Touching periods are one period written as two; a gap between each two keeps every period's
  // end a real end.
  for (std::size_t i = 1; i < periods.size(); ++i) {
    const Period& before = periods[i - 1];
    const Period& after = periods[i];
    if (after.start < before.end)
      return periodText(before) + " and " + periodText(after) + " overlap";
    if (after.start == before.end)
      return periodText(before) + " and " + periodText(after) + " touch: write them as one period, " +
             periodText({before.start, after.end});
  }
  day.periods = periods;
  return "";
}

namespace {
std::string setDays(std::string_view word, AllowedHours& hours) {
  const std::size_t equals = word.find('=');
  if (equals == word.npos)
    return quoted(word) + " is not DAYS=HOURS (for example Mon-Fri=07:00-08:00,15:00-20:30, Sat,Sun=any or all=none)";
  std::array<bool, kDays> days{};
  for (std::string_view item : splitText(word.substr(0, equals), ',')) {
    const std::string problem = markDays(item, days);
    if (!problem.empty())
      return problem;
  }
  DayHours day;
  const std::string problem = readDayHours(word.substr(equals + 1), day);
  if (!problem.empty())
    return problem;
  for (int weekday = 1; weekday <= kDays; ++weekday)
    if (days[weekday - 1])
      hours.day(weekday) = day;
  return "";
}

std::chrono::year_month_day calendarDay(int date) {
  return std::chrono::year_month_day{std::chrono::year{date / 10000},
                                     std::chrono::month{static_cast<unsigned>(date / 100 % 100)},
                                     std::chrono::day{static_cast<unsigned>(date % 100)}};
}

int dateAfter(int date, int days) {
  if (days == 0 || !validDate(date))
    return date;
  const std::chrono::year_month_day later{std::chrono::sys_days{calendarDay(date)} + std::chrono::days{days}};
  return static_cast<int>(later.year()) * 10000 + static_cast<int>(static_cast<unsigned>(later.month())) * 100 +
         static_cast<int>(static_cast<unsigned>(later.day()));
}

// A day's periods with the extension of that date, if any, merged in.
std::vector<Period> periodsOn(const AllowedHours& hours, int weekday, int date, const HoursExtension& extension) {
  std::vector<Period> periods = hours.day(weekday).periods;
  if (extension.date == 0 || extension.date != date)
    return periods;
  int from = 0;
  for (const Period& period : periods)
    if (period.end <= extension.end)
      from = period.end;
  if (from >= extension.end)
    return periods;
  periods.push_back({from, extension.end});
  std::sort(periods.begin(), periods.end(), byStart);
  std::vector<Period> merged;
  for (const Period& period : periods)
    if (!merged.empty() && period.start <= merged.back().end)
      merged.back().end = std::max(merged.back().end, period.end);
    else
      merged.push_back(period);
  return merged;
}
}  // namespace

std::string setHoursProblem(const std::vector<std::string>& words, AllowedHours& hours) {
  if (words.empty())
    return "no DAYS=HOURS given (for example Mon-Fri=07:00-08:00,15:00-20:30 or all=any)";
  AllowedHours changed = hours;
  for (const std::string& word : words) {
    const std::string problem = setDays(word, changed);
    if (!problem.empty())
      return problem;
  }
  changed.damaged = false;
  hours = changed;
  return "";
}

std::string clockText(int minuteOfDay) {
  return zeroPadded(minuteOfDay / 60, 2) + ":" + zeroPadded(minuteOfDay % 60, 2);
}

std::string dayHoursText(const DayHours& day) {
  if (day == DayHours{})
    return "any";
  if (day.periods.empty())
    return "none";
  std::string text;
  for (const Period& period : day.periods)
    text += (text.empty() ? "" : ",") + periodText(period);
  return text;
}

std::vector<std::string> hoursShowLines(const AllowedHours& hours) {
  std::vector<std::string> lines;
  for (int day = 1; day <= kDays; ++day)
    lines.push_back(std::string(dayName(day)) + " " + (hours.damaged ? "damaged" : dayHoursText(hours.day(day))));
  return lines;
}

std::string hoursStorageText(const AllowedHours& hours) {
  std::string text(kStorageMarker);
  for (int day = 1; day <= kDays; ++day)
    text += " " + std::string(dayName(day)) + "=" + dayHoursText(hours.day(day));
  return text;
}

// The words after the marker are read as the tool's own, and the result must write back to
// exactly the same text: every day present, in order, in the words a save uses.
bool readHoursText(std::string_view text, AllowedHours& hours) {
  AllowedHours read;
  if (text.empty()) {
    hours = read;
    return true;
  }
  std::vector<std::string> words;
  for (std::string_view word : splitText(text, ' '))
    words.emplace_back(word);
  if (words.front() == kStorageMarker && setHoursProblem({words.begin() + 1, words.end()}, read).empty() &&
      hoursStorageText(read) == text) {
    hours = read;
    return true;
  }
  for (DayHours& day : hours.days)
    day.periods.clear();
  hours.damaged = true;
  return false;
}

std::string damagedHoursLine(const std::string& account) {
  return kHoursDamagedLine + account + " is kept outside them until they are set again" + kLineStars;
}

bool validDate(int date) {
  return date > 0 && calendarDay(date).ok();
}

int dateNumber(const TimeStamp& stamp) {
  return readNumber(stamp.year) * 10000 + readNumber(stamp.month) * 100 + stamp.dayNumber;
}

Moment momentOf(const TimeStamp& stamp) {
  return {dateNumber(stamp), stamp.weekday, readNumber(stamp.hour) * 60 + readNumber(stamp.minute)};
}

std::string extensionStorageText(const HoursExtension& extension) {
  return extension.date == 0 ? "" : std::to_string(extension.date) + " " + clockText(extension.end);
}

bool readExtensionText(std::string_view text, HoursExtension& extension) {
  extension = {};
  if (text.empty())
    return true;
  HoursExtension read;
  if (text.size() != 14 || text[8] != ' ' || !readClock(text.substr(9), read.end) || read.end == 0)
    return false;
  read.date = readNumber(text.substr(0, 8));
  if (!validDate(read.date) || extensionStorageText(read) != text)
    return false;
  extension = read;
  return true;
}

HoursNow hoursAt(const AllowedHours& hours, const Moment& moment, const HoursExtension& extension) {
  HoursNow now;
  if (hours.damaged)
    return now;
  const std::vector<Period> today = periodsOn(hours, moment.weekday, moment.date, extension);
  const auto current = std::find_if(today.begin(), today.end(), [&](const Period& period) {
    return period.start <= moment.minute && moment.minute < period.end;
  });
  if (current == today.end())
    return now;
  now.inside = true;
  int daysAhead = 0;
  int weekday = moment.weekday;
  int end = current->end;
  while (end == kMostMinutes) {
    if (daysAhead == kDays)
      return now;  // whole days all week round
    weekday = nextWeekday(weekday);
    const std::vector<Period> next = periodsOn(hours, weekday, dateAfter(moment.date, daysAhead + 1), extension);
    if (next.empty() || next.front().start != 0)
      break;
    ++daysAhead;
    end = next.front().end;
  }
  now.limited = true;
  now.endDate = dateAfter(moment.date, daysAhead);
  now.endClock = end;
  now.minutesToEnd = daysAhead * kMostMinutes + end - moment.minute;
  return now;
}

TimeLeft timeLeftToday(int dailyMinutesLeft, const HoursNow& now) {
  const int daily = std::max(dailyMinutesLeft, 0);
  if (!now.inside)
    return {0, true, 0};
  if (now.limited && now.minutesToEnd < daily)
    return {now.minutesToEnd, true, now.endClock};
  return {daily, false, 0};
}

std::string untilText(const TimeLeft& left) {
  return left.byHours && left.minutes > 0 ? "until " + clockText(left.endClock) : "";
}

HoursWarning hoursWarningDue(const HoursNow& now, int dailyMinutesLeft, HoursWarningsShown& shown) {
  const TimeLeft left = timeLeftToday(dailyMinutesLeft, now);
  if (!now.inside || !left.byHours)
    return HoursWarning::None;
  if (shown.endDate != now.endDate || shown.endClock != now.endClock)
    shown = {now.endDate, now.endClock, HoursWarning::None};
  const HoursWarning due = now.minutesToEnd < kSecondWarningBelow  ? HoursWarning::Second
                           : now.minutesToEnd < kFirstWarningBelow ? HoursWarning::First
                                                                   : HoursWarning::None;
  if (due <= shown.shown)
    return HoursWarning::None;
  shown.shown = due;
  return due;
}

std::string logOffText(const HoursNow& now) {
  return "Orrindale will log you off at " + clockText(now.endClock);
}

HoursExtension extendedHours(const AllowedHours& hours,
                             const Moment& moment,
                             const HoursExtension& current,
                             int minutes) {
  const HoursExtension today = current.date == moment.date ? current : HoursExtension{};
  const HoursNow now = hoursAt(hours, moment, today);
  if (hours.damaged || (now.inside && (!now.limited || now.endDate != moment.date)))
    return today;
  const int from = now.inside ? now.endClock : moment.minute;
  const int end = std::max(std::min(from + std::max(minutes, 0), kMostMinutes), today.end);
  return end > from ? HoursExtension{moment.date, end} : today;
}

std::string extensionText(const HoursExtension& extension) {
  return "until " + clockText(extension.end) + " today";
}
