#include "admin/value_checks.h"

#include <array>
#include <cctype>

#include "accounting/usage_table.h"

namespace {
constexpr std::array<const char*, kDays> kDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool sameLetters(const std::string& text, const char* word) {
  std::size_t i = 0;
  for (; word[i] != '\0'; ++i)
    if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(word[i]))
      return false;
  return i == text.size();
}

bool hasControlByte(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      return true;
  return false;
}

// Whole decimal digits only: the program reads "1e3" or " 5" by its own lenient rule,
// so the tool writes nothing it would read differently from what was typed.
bool wholeNumber(const std::string& text, int most, int& value) {
  if (text.empty() || text.size() > 9)
    return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    value = value * 10 + (c - '0');
  }
  return value <= most;
}
}  // namespace

int dayNumber(const std::string& text) {
  if (sameLetters(text, "all"))
    return kAllDays;
  for (int day = 1; day <= kDays; ++day)
    if (sameLetters(text, kDayNames[day - 1]))
      return day;
  return -1;
}

const char* dayName(int day) {
  return kDayNames.at(day - 1);
}

std::string accountProblem(const std::string& name) {
  if (name.empty())
    return "an account name cannot be empty";
  if (hasControlByte(name))
    return "the account name holds a control character";
  if (name.size() > kLongestAccount)
    return "the account name \"" + name + "\" is longer than " + std::to_string(kLongestAccount) + " characters";
  return "";
}

std::string minutesProblem(const std::string& text, int& minutes) {
  if (!wholeNumber(text, kMostMinutes, minutes))
    return "\"" + text + "\" is not a number of minutes from 0 to " + std::to_string(kMostMinutes);
  return "";
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

std::string passwordProblem(const std::string& password) {
  if (password.empty())
    return "the password is empty";
  if (password.find_first_of("\r\n") != std::string::npos)
    return "the password holds a line break";
  if (hasControlByte(password))
    return "the password holds a control character, which the data file cannot keep";
  if (password.size() > kLongestPassword)
    return "the password is longer than " + std::to_string(kLongestPassword) + " characters";
  // The default password is published, so it never becomes the chosen one.
  if (password == kDefaultPassword)
    return "that is the installation's default password, which everyone can read in the manual";
  return "";
}
