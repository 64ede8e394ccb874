#pragma once
// What the tool accepts on its command line beyond the table's own checks (table_rules.h):
// day names with minutes, yes or no, and slot numbers. Each check returns "" for a value it
// accepts, or a sentence saying what is wrong.
#include <string>
#include <vector>

#include "accounting/table/table_rules.h"

constexpr int kAllDays = 0;

// "Sun" to "Sat" (any letter case) give 1 to 7, "all" gives kAllDays; -1 for anything else.
int dayNumber(const std::string& text);

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
