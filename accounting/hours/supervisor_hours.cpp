#include "accounting/hours/supervisor_hours.h"

#include <algorithm>

#include "accounting/table/table_rules.h"

AllowedHours hoursToChange(const HoursBook& book, const std::string& account) {
  if (account.empty())
    return book.defaults;
  const auto own = book.accounts.find(account);
  return own != book.accounts.end() ? own->second : hoursOf(book, account);
}

DayTexts dayTexts(const AllowedHours& hours) {
  DayTexts texts;
  for (int day = 1; day <= kDays; ++day)
    texts[day - 1] = dayHoursText(hours.day(day));
  return texts;
}

// No word of a day's hours holds a blank, so "07:00 - 08:00, 15:00-20:30" is read as meant.
std::string readDayTexts(const DayTexts& texts, AllowedHours& hours) {
  AllowedHours read;
  for (int day = 1; day <= kDays; ++day) {
    std::string text = texts[day - 1];
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
    if (const std::string problem = readDayHours(text, read.day(day)); !problem.empty())
      return std::string(dayName(day)) + ": " + problem;
  }
  hours = read;
  return "";
}

std::string hoursSetSentence(const std::string& account, const AllowedHours& hours) {
  std::string text = "hours of " + (account.empty() ? std::string("accounts without their own") : account) + " set:";
  for (const std::string& line : hoursShowLines(hours))
    text += (text.back() == ':' ? " " : "; ") + line;
  return text;
}

std::string todayText(const HoursBook& book, const std::string& account, int dailyMinutesLeft, const Moment& moment) {
  const HoursNow now = hoursAt(hoursOf(book, account), moment, extensionOf(book, account, moment.date));
  if (!now.inside)
    return "Now " + account + " is outside the allowed hours";
  const TimeLeft left = timeLeftToday(dailyMinutesLeft, now);
  const std::string until = untilText(left);
  const int minutes = std::max(dailyMinutesLeft, 0);
  return "Today " + account + " has " + std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes") + " left" +
         (until.empty() ? "" : ", " + until);
}
