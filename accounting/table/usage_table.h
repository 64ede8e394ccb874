#pragma once
// The table of everything the data file keeps (supervisor password, default allowances,
// options, six user slots) and the process-wide values that describe the current logon.
// Every field is text; numbers are decimal text read by readNumber.
#include <array>
#include <string>
#include <string_view>
#include <vector>


constexpr int kUserSlots = 6;
constexpr int kUserFields = 15;
constexpr int kDays = 7;
constexpr int kOptions = 7;
constexpr int kTableFields = 1 + kDays + kOptions + kUserSlots * kUserFields;  // 105

// The user column of a copy's log lines until it knows its account.
constexpr const char* kUnknownUser = "Admin";

// Field numbers of a UserRecord, 1-based as the data file and the grid count them.
enum UserField {
  kAccount = 1,
  kMinutesLeft = 2,
  kLastYear = 3,
  kLastMonth = 4,
  kLastDay = 5,
  kLastHour = 6,
  kLastMinute = 7,
  kMachine = 8,
  kSundayAllowance = 9,  // Monday 10, ... Saturday 15
};

// Options field 1, the new-user flag (read through newUsersAllowed).
constexpr int kNewUserFlag = 1;

struct UserRecord {
  std::array<std::string, kUserFields> fields;

  std::string& field(int number) { return fields.at(number - 1); }
  const std::string& field(int number) const { return fields.at(number - 1); }
  // The allowance of a weekday, 1 for Sunday to 7 for Saturday.
  std::string& allowance(int day) { return field(kMachine + day); }
  const std::string& allowance(int day) const { return field(kMachine + day); }
};

struct UsageTable {
  std::string password;
  std::array<std::string, kDays> defaultAllowances;  // Sunday first
  std::array<std::string, kOptions> options;
  std::array<UserRecord, kUserSlots> users;

  // 1-based accessors; day 1 is Sunday, slot 1 is "User 1".
  std::string& defaultAllowance(int day) { return defaultAllowances.at(day - 1); }
  std::string& option(int number) { return options.at(number - 1); }
  UserRecord& user(int slot) { return users.at(slot - 1); }
  const UserRecord& user(int slot) const { return users.at(slot - 1); }
};

// The 105 fields in data-file order: password, default allowances, options, slots 1 to 6.
std::vector<std::string*> fieldsInFileOrder(UsageTable& table);
std::vector<const std::string*> fieldsInFileOrder(const UsageTable& table);

// How far the run's opening and closing log lines have got: an end asked for during
// start-up waits for the start line.
enum class RunLines { Starting, EndAskedWhileStarting, Started, Ended };

// Values of the running program, never written to the data file.
struct Session {
  int currentUser = 0;  // slot 1 to 6, 0 for none
  std::string userName = kUnknownUser;
  std::string machineName;
  int minutesLeft = 111;
  int debugLevel = 0;
  int firstWarningShown = 0;
  int secondWarningShown = 0;
  int BlinkPhase = 1;
  std::string dataFilePath;
  std::string logPath;
  // The account the guard counts this process as, from its token; "" until the guard said.
  std::string guardAccount;
  // Since when the guard has not answered (seconds), -1 while it answers.
  long long guardSilentSince = -1;
  // "until 20:30" when the account's allowed hours end before its minutes do, else "".
  std::string hoursUntil;
  // The account's latest request for more time today as this run last saw it: its number (0 for
  // none), the minutes asked, and whether it still waits for an answer.
  int requestNumber = 0;
  int requestMinutes = 0;
  bool requestOpen = false;
  // The "CLOCK MOVED BACK" message this run has logged, or found already logged, for the
  // current user's record; a move is reported once, not at every tick while it lasts.
  std::string clockMoveReported;
  RunLines runLines = RunLines::Starting;
};

extern UsageTable vTable;
extern Session vSession;

// The supervisor password of the default content.
constexpr const char* kDefaultPassword = "quillsun";

// Replaces the whole table by its default content.
void InstallDefaults();
// Puts the session values back to those of a program that has just started.
void resetSession();

// Control bytes would break the line structure of the data file and the log (a line feed in a
// field shifts every later field, and in a log message writes a line of someone else's), so
// both keep them as blanks.
char storable(char c);
std::string storableText(std::string text);

// Reads text as one decimal number: blanks and leading zeros allowed, a fraction cut off,
// empty or non-numeric text 0. Values beyond the int range are clamped.
int readNumber(std::string_view text);
// The number in the text as plain decimal digits: "0010" gives "10", "abc" gives "0".
std::string MinutesText(std::string_view text);
