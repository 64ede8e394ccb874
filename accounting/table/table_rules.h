#pragma once
// The rules of the table that the program, the administration tool and the guard apply alike:
// which slot holds an account, a weekday's allowance, a new day and its allowance, filling a new
// slot, the new-user option, and what a typed account name, minute count or password may be.
#include <compare>
#include <string>
#include <string_view>

#include "accounting/table/time_stamp.h"
#include "accounting/table/usage_table.h"

// The slot an account is counted in: the last of the slots 1 to 6 whose account field is the
// name exactly (letter case counts); 0 when none is, and always for an empty name, since an
// empty account field marks a free slot.
int accountSlot(const UsageTable& table, std::string_view account);
// The first slot with an empty account field, 0 when all six are taken.
int firstFreeSlot(const UsageTable& table);

// "Sun" to "Sat" for the weekdays 1 to 7.
const char* dayName(int day);

// Options field 1 holds "1" when accounts that are not in the table are refused; any other
// text admits them.
bool newUsersAllowed(const UsageTable& table);
void setNewUsersAllowed(UsageTable& table, bool allowed);

// The record's last counted minute against the date of the timestamp, as whole dates: the day
// of the month alone would take the 6th of last month for today.
std::strong_ordering lastUseToDay(const UserRecord& user, const TimeStamp& today);
// Whether the record's next counted minute starts a new day's allowance: only a date later
// than the stored one does. An earlier date (a clock moved back) starts none.
bool startsNewDay(const UserRecord& user, const TimeStamp& today);
// Whether the account has no minutes left today: none are left, and no new day's allowance
// comes with its next counted minute.
bool minutesUsedUp(const UserRecord& user, const TimeStamp& today);
// The minutes the account has left today: those of the record, or the whole allowance when its
// next counted minute starts a new day.
int minutesLeftToday(const UserRecord& user, const TimeStamp& today);
// Minutes left today become a verbatim copy of the allowance of the timestamp's weekday.
void startTodaysAllowance(UserRecord& user, const TimeStamp& today);
// Marks the record as counted at the timestamp on the machine.
void stampUser(UserRecord& user, const TimeStamp& now, const std::string& machine);
// What one counted minute did to a record: a same-day minute took one off (never below 0), a
// new day started today's allowance and took nothing off, and a minute on a clock moved back
// took one off and kept the record's later date.
enum class MinuteKind { Counted, NewDay, ClockMovedBack };
struct CountedMinute {
  MinuteKind kind = MinuteKind::Counted;
  int left = 0;  // the minutes left after a minute taken off
};
// Adds minutes to what the account has left today, never past kMostMinutes, and returns what is
// left. A record last counted on an earlier day would start a new day's allowance at its next
// minute and lose the grant, so it starts today's allowance first and is marked as counted
// today; the machine of its last counted minute stays.
int grantToday(UserRecord& user, int minutes, const TimeStamp& today);
// Counts one minute on the record at the timestamp on the machine: the accounting itself, with
// no log line and no log-off, for the program and for the guard alike.
CountedMinute countMinute(UserRecord& user, const TimeStamp& now, const std::string& machine);
// A slot for a new account: the name, copies of the seven default allowances, and today's
// default allowance as the minutes left. Nothing is stamped: the caller says whether it counts.
void fillNewSlot(UserRecord& user, const UsageTable& table, const std::string& account, const TimeStamp& today);

// What line 1 says without telling it: "default" while the installation's published password
// still opens the gate, "empty" when an empty one does, "set" otherwise. Costs a hash or two.
std::string passwordState(const std::string& line);

// The warnings come when the minutes left (or those to the end of the allowed hours) fall below these.
constexpr int kFirstWarningBelow = 11;  // 10 minutes or fewer
constexpr int kSecondWarningBelow = 3;  // 2 minutes or fewer

// Minutes in a day: no allowance or grant may exceed it.
constexpr int kMostMinutes = 1440;
// Windows account names are at most 20 characters, and about that many fit the Account cell
// of the administration window.
constexpr std::size_t kLongestAccount = 20;
// A supervisor password longer than this is surely a mistake (a file piped in by error).
constexpr std::size_t kLongestPassword = 256;
// A shorter one is soon guessed at the password window: the tool and the setup refuse it, the
// administration window warns.
constexpr std::size_t kShortestPassword = 6;

// Whole decimal digits only, at most the given number: the program reads "1e3" or " 5" by its
// own lenient rule, so what is accepted here is read back exactly as it was typed.
bool wholeNumber(const std::string& text, int most, int& value);
// Each check returns "" for a value it accepts, or a sentence saying what is wrong.
std::string accountProblem(const std::string& name);
// Whole decimal digits from 0 to 1440; minutes receives the number.
std::string minutesProblem(const std::string& text, int& minutes);
// One line without control characters, of kShortestPassword to kLongestPassword characters, not
// beginning like a stored hash, not the published default.
std::string passwordProblem(const std::string& password);
