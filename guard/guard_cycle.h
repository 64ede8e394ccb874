#pragma once
// One round of the guard: look at the table and the sessions, decide, act through the
// platform's routines (and, keeping the clock, on the table), and log what was done. The service calls it every few seconds; tests
// call it with recording fakes in place of the platform.
#include <optional>
#include <string>
#include <vector>

#include "accounting/log/log_texts.h"
#include "guard/decisions.h"
#include "guard/table_keeper.h"
#include "guard/table_reader.h"

// The platform's part, as routine references the service fills in.
struct GuardPlatform {
  // The sessions with a logged-on account, each with its running copies of the program;
  // false when they could not be listed, and the round is then left out.
  bool (*sessions)(std::vector<SessionSeen>& sessions);
  // Start the program in the session as its account; 0 or the platform's error code.
  unsigned long (*startProgram)(unsigned session);
  // Log the session off; 0 or the platform's error code.
  unsigned long (*logOff)(unsigned session);
};

struct GuardRun {
  GuardSettings settings;
  GuardMemory memory;
  TableReader table;
  // In a protected install, the table the guard keeps, and whose file each round looks after;
  // the round then charges the minutes too. Otherwise nullptr, and the round reads the data file
  // when it changed.
  TableKeeper* keeper = nullptr;
  // The system's time zone at the last round, so that a change of it is logged.
  std::optional<rt::ZoneRule> zone;
};


void guardCycle(GuardRun& run, const GuardPlatform& platform, long long now);
