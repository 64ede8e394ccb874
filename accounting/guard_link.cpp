#include "accounting/guard_link.h"

#include "accounting/activity_log.h"
#include "runtime/clock.h"
#include "runtime/guard_pipe.h"
#include "runtime/processes.h"

bool (*r_askGuard)(const std::string& request, std::string& answer, int waitSeconds) = rt::askGuardPipe;

std::optional<GuardAnswer> askGuard(GuardRequest request, int waitSeconds) {
  request.namedAccount = rt::getEnv("USERNAME");
  request.machine = rt::getEnv("COMPUTERNAME");
  std::string text;
  GuardAnswer answer;
  if (!r_askGuard(encodeRequest(request), text, waitSeconds) || !decodeAnswer(text, answer))
    return std::nullopt;
  return answer;
}

namespace {
// Since when the guard has been silent, for the copy's patience with it.
void noteGuardAnswer(bool answered) {
  if (answered)
    vSession.guardSilentSince = -1;
  else if (vSession.guardSilentSince < 0)
    vSession.guardSilentSince = rt::secondsNow();
}
}  // namespace

bool readTableFromGuard() {
  const std::optional<GuardAnswer> answer = askGuard(guardRequest(GuardVerb::Read));
  noteGuardAnswer(answer.has_value());
  if (!answer || !answer->ok())
    return false;
  std::vector<Cell> cells;
  for (const Cell& cell : answer->cells)
    if (cell.field > 1)
      cells.push_back(cell);
  applyCells(vTable, cells);
  vSession.guardAccount = answer->account;
  return true;
}

GuardMinutes minutesFromGuard(int& left) {
  const std::optional<GuardAnswer> answer = askGuard(guardRequest(GuardVerb::Minute));
  noteGuardAnswer(answer.has_value());
  if (!answer)
    return GuardMinutes::Silent;
  if (answer->refusal == Refusal::NotInTable) {
    vSession.currentUser = 0;
    return GuardMinutes::NotInTable;
  }
  if (!answer->ok() || answer->slot == 0)
    return GuardMinutes::NoTable;
  vSession.currentUser = answer->slot;
  vSession.guardAccount = answer->account;
  takeSlot(*answer);
  left = answer->left;
  return GuardMinutes::Left;
}

void logThroughGuard(const std::string& message) {
  GuardRequest request = guardRequest(GuardVerb::Log);
  request.lines = {message};
  askGuard(request, kLogLineWaitSeconds);
}

void takeSlot(const GuardAnswer& answer) {
  if (answer.slot < 1 || answer.slot > kUserSlots)
    return;
  std::vector<Cell> cells;
  for (const Cell& cell : answer.cells)
    if (cell.field >= tableField(answer.slot, 1) && cell.field <= tableField(answer.slot, kUserFields))
      cells.push_back(cell);
  applyCells(vTable, cells);
}

void applyCells(UsageTable& table, const std::vector<Cell>& cells) {
  const std::vector<std::string*> fields = fieldsInFileOrder(table);
  // Line 1 is a password to hash, kept whole; every other field as the data file keeps it.
  for (const Cell& cell : cells)
    if (cell.field >= 1 && cell.field <= kTableFields)
      *fields[cell.field - 1] = cell.field == 1 ? cell.text : storableText(cell.text);
}

std::vector<Cell> cellsOf(const UsageTable& table, int firstField) {
  const std::vector<const std::string*> fields = fieldsInFileOrder(table);
  std::vector<Cell> cells;
  for (int field = firstField; field <= kTableFields; ++field)
    cells.push_back({field, *fields[field - 1]});
  return cells;
}

std::vector<Cell> changedCells(const UsageTable& before, const UsageTable& after) {
  const std::vector<const std::string*> old = fieldsInFileOrder(before);
  const std::vector<const std::string*> now = fieldsInFileOrder(after);
  std::vector<Cell> cells;
  for (int field = 1; field <= kTableFields; ++field)
    if (*old[field - 1] != *now[field - 1])
      cells.push_back({field, *now[field - 1]});
  return cells;
}
