#include "accounting/table_rules.h"

#include <array>

#include "accounting/password_hash.h"

namespace {
bool hasControlByte(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      return true;
  return false;
}
}  // namespace

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

int accountSlot(const UsageTable& table, std::string_view account) {
  int found = 0;
  if (account.empty())
    return found;
  for (int slot = 1; slot <= kUserSlots; ++slot)
    if (table.user(slot).field(kAccount) == account)
      found = slot;
  return found;
}

int firstFreeSlot(const UsageTable& table) {
  for (int slot = 1; slot <= kUserSlots; ++slot)
    if (table.user(slot).field(kAccount).empty())
      return slot;
  return 0;
}

bool newUsersAllowed(const UsageTable& table) {
  return table.options[kNewUserFlag - 1] != "1";
}

void setNewUsersAllowed(UsageTable& table, bool allowed) {
  table.option(kNewUserFlag).assign(1, allowed ? '0' : '1');
}

std::strong_ordering lastUseToDay(const UserRecord& user, const TimeStamp& today) {
  const std::array stored{readNumber(user.field(kLastYear)), readNumber(user.field(kLastMonth)),
                          readNumber(user.field(kLastDay))};
  const std::array now{readNumber(today.year), readNumber(today.month), today.dayNumber};
  return stored <=> now;
}

bool startsNewDay(const UserRecord& user, const TimeStamp& today) {
  return lastUseToDay(user, today) < 0;
}

void startTodaysAllowance(UserRecord& user, const TimeStamp& today) {
  user.field(kMinutesLeft) = user.allowance(today.weekday);
}

void stampUser(UserRecord& user, const TimeStamp& now, const std::string& machine) {
  user.field(kMachine) = machine;
  user.field(kLastYear) = now.year;
  user.field(kLastMonth) = now.month;
  user.field(kLastDay) = now.day;
  user.field(kLastHour) = now.hour;
  user.field(kLastMinute) = now.minute;
}

void fillNewSlot(UserRecord& user, const UsageTable& table, const std::string& account, const TimeStamp& today) {
  user = UserRecord{};
  user.field(kAccount) = account;
  for (int day = 1; day <= kDays; ++day)
    user.allowance(day) = table.defaultAllowances[day - 1];
  startTodaysAllowance(user, today);
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

std::string passwordProblem(const std::string& password) {
  if (password.empty())
    return "the password is empty";
  if (password.find_first_of("\r\n") != std::string::npos)
    return "the password holds a line break";
  if (hasControlByte(password))
    return "the password holds a control character, which the data file cannot keep";
  if (password.size() > kLongestPassword)
    return "the password is longer than " + std::to_string(kLongestPassword) + " characters";
  // Line 1 tells a hash from a password stored as typed by this beginning alone.
  if (password.starts_with(kPasswordHashMarker))
    return "the password begins with \"" + std::string(kPasswordHashMarker) + "\", which looks like a stored hash";
  // The default password is published, so it never becomes the chosen one.
  if (password == kDefaultPassword)
    return "that is the installation's default password, which everyone can read in the manual";
  return "";
}
