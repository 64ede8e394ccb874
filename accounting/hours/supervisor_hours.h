#pragma once
// What the supervisor sees and changes of the allowed hours: the schedule a change starts from,
// the seven day texts of the administration window's Hours page read into a schedule and back,
// the sentence a change is logged with, and what applies today.
#include <array>
#include <string>

#include "accounting/hours/hours_book.h"

// What a change of the account's hours ("" for the default) starts from: its own when it has
// them, damaged ones too, else what it has now (the default, or no hours in a damaged book).
AllowedHours hoursToChange(const HoursBook& book, const std::string& account);

// One text a weekday, Sunday first.
using DayTexts = std::array<std::string, kDays>;
// "any", "none" or "07:00-08:00,15:00-20:30" for each day (a damaged schedule has none).
DayTexts dayTexts(const AllowedHours& hours);
// The schedule of seven day texts, each as set-hours takes a day's HOURS, blanks anywhere ignored:
// "" when read, else one sentence naming the first faulty day, and then the hours are as they were.
std::string readDayTexts(const DayTexts& texts, AllowedHours& hours);

// "hours of kid set: Sun any; Mon 07:00-08:00; ...", of "accounts without their own" for "".
std::string hoursSetSentence(const std::string& account, const AllowedHours& hours);

// What applies to the account with the day's minutes left at the moment: "Today alice has 45
// minutes left, until 20:30" (the end when a period ends first), or "Now alice is outside the
// allowed hours".
std::string todayText(const HoursBook& book, const std::string& account, int dailyMinutesLeft, const Moment& moment);
