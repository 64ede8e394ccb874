#pragma once
// Where the table lives in a protected install: with the guard service, which this process (a
// copy of the program, or the administration tool) asks through its pipe for the table, its
// minutes, its admission and its log lines, and hands the supervisor's and the tool's changes.
// It never opens the data file or the activity log. The guard decides whom a request counts for,
// from the caller's token.
#include <optional>
#include <string>

#include "accounting/guard_link/guard_protocol.h"
#include "accounting/table/table_home.h"

extern const TableHome kGuardHome;

// How long a request waits for the guard's pipe: the guard may be starting (at boot, or 5 s
// after a failure). A log line waits less: the log never holds the program up for long. Once
// connected, the answer is awaited up to 5 s more (guard_pipe.h).
constexpr int kGuardWaitSeconds = 10;
constexpr int kLogLineWaitSeconds = 1;

// How long a copy goes on without an answer from the guard before it takes the guard for gone
// and logs off: a busy or restarting guard, or another session flooding it, costs no log-off.
// vSession.guardSilentSince says since when it has not answered.
constexpr long long kGuardSilentSeconds = 180;

// Sends the request text and receives the answer text; false when the guard could not be reached
// within the wait. The program's routine is the guard's pipe; tests put the guard's own handler here.
extern bool (*r_askGuard)(const std::string& request, std::string& answer, int waitSeconds);

// The guard's answer to the request, sent with this process's USERNAME and computer name; nothing
// when the guard could not be reached or gave no whole answer.
std::optional<GuardAnswer> askGuard(GuardRequest request, int waitSeconds = kGuardWaitSeconds);
