#pragma once
// What the guard decides at each look: for every logged-on session of an account the table
// limits, whether the session's copy of the program must be started again (it was ended, or it
// no longer counts), or the session logged off (its copy keeps being ended, or the account has
// no minutes left today). Plain data in and out; no platform calls.
#include <map>
#include <string>
#include <vector>

#include "accounting/activity_log.h"
#include "accounting/usage_table.h"

struct GuardSettings {
  // From the first sight of a logon: time for its Startup entry to start the program.
  long long graceSeconds = 180;
  // More than this many restarts of one session within the window log the session off.
  int mostRestarts = 3;
  long long restartWindowSeconds = 600;
  // A session still there this long after it was logged off is logged off again.
  long long logoffRetrySeconds = 60;
  // An account with no minutes left today: its session is logged off this long after the guard
  // first finds it so, time for the copy's own warnings and log-off.
  long long noMinutesSeconds = 60;
  // Whether every counted minute reaches the guard (a protected install), and how long an active
  // session with a running copy may go without one before the copy is taken for not counting.
  bool minutesReachGuard = false;
  long long notCountingSeconds = 180;
};

// A session with a logged-on account, as the platform shows it.
struct SessionSeen {
  unsigned id = 0;
  std::string account;
  // Tells two logons apart that reuse a session number; 0 when the platform does not say.
  long long logonStamp = 0;
  int copies = 0;  // running copies of the program in the session
  // In use at the keyboard: neither locked nor disconnected (true when the platform does not say).
  bool active = true;
  // When the guard last counted a minute sent from the session (its seconds), -1 for never.
  long long lastMinute = -1;
};

enum class TableState { Readable, Unreadable, Locked };

struct TableSeen {
  TableState state = TableState::Unreadable;
  UsageTable table;  // as last read; an account with a slot in it is limited
  TimeStamp today;   // the guard's own clock, which no account's settings move
};

enum class GuardAct {
  Restart,          // the copy was ended: start one
  Replace,          // the copies do not count: end them and start one
  LogOff,           // the copy keeps being ended
  LogOffNoMinutes,  // the account has no minutes left today
};

struct GuardAction {
  GuardAct act;
  unsigned session;
  std::string account;
};

// What the guard remembers of a session between looks.
struct SessionMemory {
  std::string account;
  long long logonStamp = 0;
  long long firstSeen = 0;
  bool copySeen = false;            // a copy ran: the logon's grace period is over
  std::vector<long long> restarts;  // times of the restarts within the window
  long long loggedOffAt = -1;
  long long countingSince = 0;    // from when a counted minute is awaited
  long long noMinutesSince = -1;  // since when the account has had no minutes left today
};

struct GuardMemory {
  std::map<unsigned, SessionMemory> sessions;
  TableState table = TableState::Readable;
};

struct Decisions {
  std::vector<GuardAction> actions;
  std::vector<std::string> messages;  // log lines of the guard's own, about the table
};

// One look at the table and the sessions at the time now (seconds). A table that cannot be
// read or is locked gives no action at all, and one message when that begins and ends.
Decisions decide(GuardMemory& memory,
                 const GuardSettings& settings,
                 const TableSeen& table,
                 const std::vector<SessionSeen>& sessions,
                 long long now);
