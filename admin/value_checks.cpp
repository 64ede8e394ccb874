#include "admin/value_checks.h"

#include <cctype>

#include "accounting/table/usage_table.h"

namespace {

bool sameLetters(const std::string& text, const char* word) {
  std::size_t i = 0;
  for (; word[i] != '\0'; ++i)
    if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(word[i]))
      return false;
  return i == text.size();
}

}  // namespace

int dayNumber(const std::string& text) {
  if (sameLetters(text, "all"))
    return kAllDays;
  for (int day = 1; day <= kDays; ++day)
    if (sameLetters(text, dayName(day)))
      return day;
  return -1;
}

std::string dayMinutesProblem(const std::string& text, int& day, int& minutes) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos)
    return "\"" + text + "\" is not DAY=MINUTES (for example Mon=60 or all=30)";
  const std::string dayText = text.substr(0, equals);
  day = dayNumber(dayText);
  if (day < 0)
    return "\"" + dayText + "\" is not a day: use Sun, Mon, Tue, Wed, Thu, Fri, Sat or all";
  return minutesProblem(text.substr(equals + 1), minutes);
}

std::string dayMinutesListProblem(const std::vector<std::string>& texts, std::vector<DayMinutes>& list) {
  list.clear();
  for (const std::string& text : texts) {
    DayMinutes entry{};
    const std::string problem = dayMinutesProblem(text, entry.day, entry.minutes);
    if (!problem.empty())
      return problem;
    list.push_back(entry);
  }
  return "";
}

std::vector<int> daysOf(const DayMinutes& entry) {
  if (entry.day != kAllDays)
    return {entry.day};
  std::vector<int> days;
  for (int day = 1; day <= kDays; ++day)
    days.push_back(day);
  return days;
}

std::string daysText(const DayMinutes& entry) {
  return entry.day == kAllDays ? "every day" : dayName(entry.day);
}

std::string yesNoProblem(const std::string& text, bool& yes) {
  yes = sameLetters(text, "yes");
  if (!yes && !sameLetters(text, "no"))
    return "\"" + text + "\" is not yes or no";
  return "";
}

std::string slotProblem(const std::string& text, int& slot) {
  if (!wholeNumber(text, kUserSlots, slot) || slot < 1)
    return "\"" + text + "\" is not a slot number from 1 to " + std::to_string(kUserSlots);
  return "";
}
