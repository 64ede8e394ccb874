#pragma once
// What the tool accepts as values on its command line: account names, minute counts, day
// names with minutes, yes or no, slot numbers and supervisor passwords. Each check returns
// "" for a value it accepts, or a sentence saying what is wrong.
#include <string>
#include <vector>

// Minutes in a day: no allowance or grant may exceed it.
constexpr int kMostMinutes = 1440;
// Windows account names are at most 20 characters, and about that many fit the Account cell
// of the administration window.
constexpr std::size_t kLongestAccount = 20;
// A supervisor password longer than this is surely a mistake (a file piped in by error).
constexpr std::size_t kLongestPassword = 256;

constexpr int kAllDays = 0;

// "Sun" to "Sat" (any letter case) give 1 to 7, "all" gives kAllDays; -1 for anything else.
int dayNumber(const std::string& text);
// "Sun" to "Sat" for 1 to 7.
const char* dayName(int day);

std::string accountProblem(const std::string& name);
// Whole decimal digits from 0 to 1440.
std::string minutesProblem(const std::string& text, int& minutes);
// "DAY=MINUTES", for example "Mon=60" or "all=30".
std::string dayMinutesProblem(const std::string& text, int& day, int& minutes);
struct DayMinutes {
  int day;  // 1 to 7, or kAllDays
  int minutes;
};
// Every text "DAY=MINUTES"; the list is filled in the given order.
std::string dayMinutesListProblem(const std::vector<std::string>& texts, std::vector<DayMinutes>& list);
// The weekdays 1 to 7 the entry sets.
std::vector<int> daysOf(const DayMinutes& entry);
// "Mon", or "every day" for all.
std::string daysText(const DayMinutes& entry);

std::string yesNoProblem(const std::string& text, bool& yes);
std::string slotProblem(const std::string& text, int& slot);
std::string passwordProblem(const std::string& password);
