#pragma once
// What the guard decides at each look: for every logged-on session of an account the table
// limits, whether the session's copy of the program must be started again, or the session
// logged off because its copy keeps being ended. Plain data in and out; no platform calls.
#include <map>
#include <string>
#include <vector>

#include "accounting/usage_table.h"

struct GuardSettings {
  // From the first sight of a logon: time for its Startup entry to start the program.
  long long graceSeconds = 180;
  // More than this many restarts of one session within the window log the session off.
  int mostRestarts = 3;
  long long restartWindowSeconds = 600;
  // A session still there this long after it was logged off is logged off again.
  long long logoffRetrySeconds = 60;
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
};

enum class GuardAct { Restart, LogOff };

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
