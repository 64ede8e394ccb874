#include "accounting/table/table_rules.h"

#include <algorithm>
#include <array>

#include "accounting/table/password_hash.h"

namespace {
constexpr std::array<const char*, kDays> kDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

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

const char* dayName(int day) {
  return kDayNames.at(day - 1);
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

bool minutesUsedUp(const UserRecord& user, const TimeStamp& today) {
  return !startsNewDay(user, today) && readNumber(user.field(kMinutesLeft)) <= 0;
}

int minutesLeftToday(const UserRecord& user, const TimeStamp& today) {
  return readNumber(startsNewDay(user, today) ? user.allowance(today.weekday) : user.field(kMinutesLeft));
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

int grantToday(UserRecord& user, int minutes, const TimeStamp& today) {
  if (startsNewDay(user, today)) {
    startTodaysAllowance(user, today);
    stampUser(user, today, user.field(kMachine));
  }
  const int left = std::min(std::max(readNumber(user.field(kMinutesLeft)), 0) + minutes, kMostMinutes);
  user.field(kMinutesLeft) = std::to_string(left);
  return left;
}

// A new day begins only when today's date is later than the stored one. An earlier date means
// the clock moved back (a changed time zone moves the date across midnight): renewing then
// would hand out a fresh allowance at every move, so the stored minutes go on being spent.
CountedMinute countMinute(UserRecord& user, const TimeStamp& now, const std::string& machine) {
  const std::strong_ordering stored = lastUseToDay(user, now);
  if (stored < 0) {
    startTodaysAllowance(user, now);
    stampUser(user, now, machine);
    return {MinuteKind::NewDay, readNumber(user.field(kMinutesLeft))};
  }
  // A negative count (typed into the grid, or copied from an allowance) leaves nothing, like
  // a spent one; taking one off the lowest number would wrap round to the highest.
  const int left = readNumber(user.field(kMinutesLeft));
  const int candidate = left > 0 ? left - 1 : 0;
  user.field(kMinutesLeft) = zeroPadded(candidate, 4);
  if (stored > 0) {
    user.field(kMachine) = machine;  // the later date and time stay
    return {MinuteKind::ClockMovedBack, candidate};
  }
  stampUser(user, now, machine);
  return {MinuteKind::Counted, candidate};
}

void fillNewSlot(UserRecord& user, const UsageTable& table, const std::string& account, const TimeStamp& today) {
  user = UserRecord{};
  user.field(kAccount) = account;
  for (int day = 1; day <= kDays; ++day)
    user.allowance(day) = table.defaultAllowances[day - 1];
  startTodaysAllowance(user, today);
}

std::string passwordState(const std::string& line) {
  if (passwordOpens(line, kDefaultPassword))
    return "default";
  return passwordOpens(line, "") ? "empty" : "set";
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
  if (password.size() < kShortestPassword)
    return "the password is shorter than " + std::to_string(kShortestPassword) + " characters, which is soon guessed";
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
