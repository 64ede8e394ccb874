#pragma once
// What the guard decides at each look: for every logged-on session of an account the table
// limits, whether the session's copy of the program must be started again or the session logged
// off (its copy keeps being ended, or the account has no minutes left today). In a protected
// install it also keeps the clock: each limited account with a session is charged a minute for
// every minute, and a session of an account without a slot is met as the program's start would
// meet it. Plain data in and out; no platform calls.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "accounting/log/activity_log.h"
#include "accounting/table/usage_table.h"

struct GuardSettings {
  // From the first sight of a logon: time for its Startup entry to start the program.
  long long graceSeconds = 180;
  // More than this many restarts of one session within the window log the session off.
  int mostRestarts = 3;
  long long restartWindowSeconds = 600;
  // A session still there this long after it was logged off is logged off again.
  long long logoffRetrySeconds = 60;
  // An account with no minutes left today, or outside its allowed hours: its session is logged
  // off this long after the guard first finds it so, time for the copy's own warnings and log-off.
  long long noMinutesSeconds = 60;
  // A protected install: the guard charges the minutes itself and meets accounts without a slot.
  // The round sets it from whether it keeps the table.
  bool keepsClock = false;
  // The length of a charged minute (shorter only in tests); a pause between two looks longer
  // than three of them is a computer that slept, and costs one minute.
  long long minuteSeconds = 60;
};

// A session with a logged-on account, as the platform shows it.
struct SessionSeen {
  unsigned id = 0;
  std::string account;
  // Tells two logons apart that reuse a session number; 0 when the platform does not say.
  long long logonStamp = 0;
  int copies = 0;  // running copies of the program in the session
};

enum class TableState { Readable, Unreadable, Locked };

struct TableSeen {
  TableState state = TableState::Unreadable;
  UsageTable table;  // as last read; an account with a slot in it is limited
  TimeStamp today;   // the guard's own clock, which no account's settings move
  // The limited accounts outside their allowed hours now (kept only by a guard that keeps the clock).
  std::set<std::string> outsideHours;
};

enum class GuardAct {
  Restart,           // the copy was ended: start one
  LogOff,            // the copy keeps being ended
  LogOffNoMinutes,   // the account has no minutes left today
  LogOffOutsideHours,  // the account is outside its allowed hours
  ChargeMinutes,     // the account used the computer for `minutes` more minutes
  Admit,             // an account without a slot, while new users are allowed: give it one, then log off
  LogOffNotInTable,  // an account without a slot that gets none
};

struct GuardAction {
  GuardAct act;
  unsigned session;
  std::string account;
  int minutes = 0;  // for ChargeMinutes
};

// What the guard remembers of a session between looks.
struct SessionMemory {
  std::string account;
  long long logonStamp = 0;
  long long firstSeen = 0;
  bool copySeen = false;            // a copy ran: the logon's grace period is over
  std::vector<long long> restarts;  // times of the restarts within the window
  long long loggedOffAt = -1;
  long long noMinutesSince = -1;  // since when the account has had no minutes left, or no hours
};

struct GuardMemory {
  std::map<unsigned, SessionMemory> sessions;
  TableState table = TableState::Readable;
  // Per account that has (or had, within its current minute) a session: when its next minute is
  // due. An account that logs off and on within a minute it paid for is not charged twice.
  std::map<std::string, long long> nextMinute;
  long long lastLook = -1;
};

// A log line about an account, written under that account.
struct AccountLine {
  std::string account;
  std::string text;
};

struct Decisions {
  std::vector<GuardAction> actions;
  std::vector<std::string> messages;  // log lines of the guard's own, about the table
  std::vector<AccountLine> lines;     // logons and log-offs the guard saw, when it keeps the clock
};

// One look at the table and the sessions at the time now (seconds). A table that cannot be
// read or is locked gives no action at all, and one message when that begins and ends.
Decisions decide(GuardMemory& memory,
                 const GuardSettings& settings,
                 const TableSeen& table,
                 const std::vector<SessionSeen>& sessions,
                 long long now);
