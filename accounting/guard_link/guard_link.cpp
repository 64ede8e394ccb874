#include "accounting/guard_link/guard_link.h"

#include "accounting/hours/hours_book.h"
#include "accounting/table/usage_table.h"
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

// Line 1's state as the guard said at the last read: it never sends line 1 itself.
std::string vPasswordState;

// The table or the minutes asked for: since when the guard has been silent, for the copy's
// patience with it.
std::optional<GuardAnswer> askNoting(GuardVerb verb) {
  std::optional<GuardAnswer> answer = askGuard(guardRequest(verb));
  if (answer)
    vSession.guardSilentSince = -1;
  else if (vSession.guardSilentSince < 0)
    vSession.guardSilentSince = rt::secondsNow();
  return answer;
}

// The fields of the slot that an answer carries, over vTable.
void takeSlot(const GuardAnswer& answer) {
  if (answer.slot < 1 || answer.slot > kUserSlots)
    return;
  std::vector<Cell> cells;
  for (const Cell& cell : answer.cells)
    if (cell.field >= tableField(answer.slot, 1) && cell.field <= tableField(answer.slot, kUserFields))
      cells.push_back(cell);
  applyCells(vTable, cells);
}

// The table as the guard keeps it, over vTable (line 1 stays as it was), and the account the guard
// counts this process as.
TableLoad load() {
  const std::optional<GuardAnswer> answer = askNoting(GuardVerb::Read);
  if (!answer)
    return TableLoad::Silent;
  if (!answer->ok())
    return TableLoad::Damaged;
  std::vector<Cell> cells;
  for (const Cell& cell : answer->cells)
    if (cell.field > 1)
      cells.push_back(cell);
  applyCells(vTable, cells);
  vSession.guardAccount = answer->account;
  vPasswordState = answer->passwordState;
  return TableLoad::Loaded;
}

// The guard charges the minutes itself: the copy reads those left today, and its current user
// becomes the slot the guard named (0 when the account has none).
MinuteOutcome minute() {
  const std::optional<GuardAnswer> answer = askNoting(GuardVerb::Minute);
  if (!answer)
    return {MinuteOutcome::Silent};
  if (answer->refusal == Refusal::NotInTable) {
    vSession.currentUser = 0;
    return {MinuteOutcome::NotInTable};
  }
  if (!answer->ok() || answer->slot == 0)
    return {MinuteOutcome::NotKept};
  vSession.currentUser = answer->slot;
  vSession.guardAccount = answer->account;
  takeSlot(*answer);
  return {MinuteOutcome::Read, answer->left};
}

// The guard decides, fills the slot and logs it under the account.
Admission admit(int& slot) {
  const std::optional<GuardAnswer> answer = askGuard(guardRequest(GuardVerb::Admit));
  if (answer && answer->ok() && answer->slot != 0) {
    takeSlot(*answer);
    slot = answer->slot;
    return Admission::Admitted;
  }
  if (answer && answer->refusal == Refusal::NewUsersRefused)
    return Admission::NewUsersRefused;
  if (answer && answer->refusal == Refusal::NoFreeSlot)
    return Admission::NoFreeSlot;
  return Admission::NotKept;
}

// The guard writes the line, with the account of this process's token in the user column.
void writeLine(const std::string&, const std::string& message) {
  GuardRequest request = guardRequest(GuardVerb::Log);
  request.lines = {message};
  askGuard(request, kLogLineWaitSeconds);
}

GateAnswer checkPassword(const std::string& typed) {
  GuardRequest check = guardRequest(GuardVerb::Check);
  check.password = typed;
  const std::optional<GuardAnswer> answer = askGuard(check);
  if (!answer)
    return GateAnswer::Silent;
  return answer->ok() ? GateAnswer::Opens : GateAnswer::Wrong;
}

SaveOutcome saved(const std::optional<GuardAnswer>& answer) {
  if (!answer)
    return {SaveOutcome::Silent, ""};
  switch (answer->refusal) {
    case Refusal::None:
      return {};
    case Refusal::WrongPassword:
      return {SaveOutcome::WrongPassword, ""};
    case Refusal::NotAdministrator:
      return {SaveOutcome::NotAdministrator, ""};
    default:
      return {SaveOutcome::NotKept, answer->why.empty() ? refusalWord(answer->refusal) : answer->why};
  }
}

SaveOutcome saveCells(const std::vector<Cell>& cells, const std::string& password) {
  GuardRequest save = guardRequest(GuardVerb::Save);
  save.password = password;
  save.cells = cells;
  return saved(askGuard(save));
}

SaveOutcome saveForTool(const std::vector<Cell>& cells, bool wholeTable, const std::vector<std::string>& done) {
  GuardRequest request = guardRequest(GuardVerb::Tool);
  request.wholeTable = wholeTable;
  request.cells = cells;
  request.lines = done;
  return saved(askGuard(request));
}

std::string passwordState() {
  return vPasswordState;
}

const char* const kGuardSilent = "the guard service OrrindaleGuard does not answer";

// The guard sends the hours file's lines as it keeps them, and whether it read the file damaged.
HoursLoad loadHours(HoursBook& book) {
  const std::optional<GuardAnswer> answer = askGuard(guardRequest(GuardVerb::Hours));
  if (!answer)
    return {HoursLoad::Silent, kGuardSilent};
  if (!answer->ok())
    return {HoursLoad::NotKept,
            std::string("the guard could not read its hours file (") + refusalWord(answer->refusal) + ")"};
  std::string text;
  for (const std::string& line : answer->lines)
    text += line + "\n";
  if (!readHoursBook(text, book))
    return {HoursLoad::NotKept, "the guard's answer was not a whole hours file"};
  book.damaged = answer->hoursDamaged;
  return {book.damaged ? HoursLoad::Damaged : HoursLoad::Loaded, ""};
}

GuardRequest hoursRequest(GuardVerb verb,
                          const std::string& account,
                          const AllowedHours& hours,
                          const std::string& done) {
  GuardRequest request = guardRequest(verb);
  request.target = account;
  request.hours = hoursStorageText(hours);
  request.lines = {done};
  return request;
}

SaveOutcome saveHours(const std::string& account, const AllowedHours& hours, const std::string& done) {
  return saved(askGuard(hoursRequest(GuardVerb::SetHours, account, hours, done)));
}

SaveOutcome saveSupervisorHours(const std::string& account,
                                const AllowedHours& hours,
                                const std::string& done,
                                const std::string& password) {
  GuardRequest request = hoursRequest(GuardVerb::SaveHours, account, hours, done);
  request.password = password;
  return saved(askGuard(request));
}

std::string askForTime(int minutes, const std::string& note, int& number) {
  GuardRequest request = guardRequest(GuardVerb::Ask);
  request.minutes = minutes;
  request.note = note;
  const std::optional<GuardAnswer> answer = askGuard(request);
  if (!answer)
    return kGuardSilent;
  if (!answer->ok())
    return answer->why.empty() ? std::string("the guard refused: ") + refusalWord(answer->refusal) : answer->why;
  number = answer->number;
  return "";
}

SaveOutcome answerRequest(int number,
                          int minutes,
                          const std::optional<std::string>& password,
                          std::vector<std::string>& done) {
  GuardRequest request = guardRequest(GuardVerb::Answer);
  request.number = number;
  request.minutes = minutes;
  request.passwordGiven = password.has_value();
  request.password = password.value_or("");
  const std::optional<GuardAnswer> answer = askGuard(request);
  if (answer && answer->ok())
    done = answer->lines;
  return saved(answer);
}

}  // namespace

constexpr TableHome kGuardHome{load,         minute,        admit,     writeLine, checkPassword,       saveCells,
                               saveForTool,  passwordState, loadHours, saveHours, saveSupervisorHours, askForTime,
                               answerRequest};
