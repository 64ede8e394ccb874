#pragma once
// A copy of the program, or the administration tool, in a protected install: it never opens
// the data file or the activity log. It asks the guard service for the table, its minutes, its
// admission and its log lines, and hands the supervisor's changes to it with the password
// typed at the gate. The guard decides whom a request counts for, from the caller's token.
#include <optional>
#include <string>
#include <vector>

#include "accounting/guard_protocol.h"

// How long a request waits for the guard's pipe: the guard may be starting (at boot, or 5 s
// after a failure). A log line waits less: the log never holds the program up for long. Once
// connected, the answer is awaited up to 5 s more (guard_pipe.h).
constexpr int kGuardWaitSeconds = 10;
constexpr int kLogLineWaitSeconds = 1;

// Sends the request text and receives the answer text; false when the guard could not be reached
// within the wait. The program's routine is the guard's pipe; tests put the guard's own handler here.
extern bool (*r_askGuard)(const std::string& request, std::string& answer, int waitSeconds);

// The guard's answer to the request, sent with this process's USERNAME and computer name; nothing
// when the guard could not be reached or gave no whole answer.
std::optional<GuardAnswer> askGuard(GuardRequest request, int waitSeconds = kGuardWaitSeconds);

// The table as the guard keeps it, over vTable (line 1 stays as it was: the guard never sends it),
// and the account the guard counts this process as in vSession.guardAccount. False when the guard
// could not be reached or holds no table.
bool readTableFromGuard();
// The guard's word on this process's account at a minute: it answered with the minutes left
// (the account has a slot), said the account has none, held no table, or did not answer.
enum class GuardMinutes { Left, NotInTable, NoTable, Silent };
// Asks the guard, which charges the minutes itself, for those left today: the current user
// becomes the slot the guard named (0 when the account has none), its record the one the guard
// keeps, and vSession.guardSilentSince notes since when the guard has not answered.
GuardMinutes minutesFromGuard(int& left);
// How long a copy goes on without an answer from the guard before it takes the guard for gone
// and logs off: a busy or restarting guard, or another session flooding it, costs no log-off.
constexpr long long kGuardSilentSeconds = 180;
// Writes one log line through the guard; dropped when the guard does not answer.
void logThroughGuard(const std::string& message);

// The fields of the slot that an answer carries, over vTable.
void takeSlot(const GuardAnswer& answer);
// The cells over the table, each text as the data file will keep it.
void applyCells(UsageTable& table, const std::vector<Cell>& cells);
// The fields from the first one on, as cells.
std::vector<Cell> cellsOf(const UsageTable& table, int firstField);
// The fields in which the two tables differ, as they are in the second.
std::vector<Cell> changedCells(const UsageTable& before, const UsageTable& after);
