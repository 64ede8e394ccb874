#include "guard/requests.h"

#include <algorithm>

#include "accounting/activity_log.h"
#include "accounting/guard_link.h"
#include "accounting/guard_protocol.h"
#include "accounting/log_texts.h"
#include "accounting/password_hash.h"
#include "accounting/table_rules.h"
#include "accounting/usage_table.h"
#include "runtime/clock.h"

namespace {

GuardAnswer refused(Refusal refusal) {
  GuardAnswer answer;
  answer.refusal = refusal;
  return answer;
}

// The answer that names the account and, when it has one, carries its slot's fields.
GuardAnswer slotAnswer(const std::string& account) {
  GuardAnswer answer;
  answer.account = account;
  answer.slot = accountSlot(vTable, account);
  if (answer.slot != 0)
    for (int field = 1; field <= kUserFields; ++field)
      answer.cells.push_back({tableField(answer.slot, field), vTable.user(answer.slot).field(field)});
  return answer;
}

// "User 2 Time", "Default Sun", ...: a changed field as the administration window names it.
std::string fieldName(int field) {
  static const char* const kColumns[] = {"Account", "Time", "Year", "Month", "Day", "Hour", "Minute", "Machine"};
  if (field == 1)
    return "Password";
  if (field <= 1 + kDays)
    return std::string("Default ") + dayName(field - 1);
  if (field <= 1 + kDays + kOptions)
    return field == 1 + kDays + kNewUserFlag ? "Allow New Users" : "Option " + std::to_string(field - 1 - kDays);
  const int slotField = field - 1 - kDays - kOptions - 1;
  const int slot = slotField / kUserFields + 1;
  const int column = slotField % kUserFields + 1;
  return "User " + std::to_string(slot) + " " +
         (column <= kMachine ? kColumns[column - 1] : dayName(column - kMachine));
}

std::string changesText(const std::vector<Cell>& cells) {
  std::string text;
  for (const Cell& cell : cells)
    text += (text.empty() ? "" : ", ") + fieldName(cell.field) + (cell.field == 1 ? " changed" : " = " + cell.text);
  return text.empty() ? "nothing changed" : text;
}

struct Handling {
  TableKeeper& keeper;
  const RequestSettings& settings;
  const std::string& account;  // whom the request counts for
  GuardRequest& request;
  unsigned session;  // where it came from
};

// Whether the typed password opens the gate. Past the wrong passwords a session may type in a
// minute, every password is refused until the minute is over, and the guard says so once.
bool opensGate(Handling& h, const std::string& typed) {
  const long long now = rt::secondsNow();
  TableKeeper::WrongPasswords& wrong = h.keeper.wrongPasswords[h.session];
  if (now - wrong.since >= 60)
    wrong = {now, 0};
  if (wrong.count >= h.settings.mostWrongPasswords)
    return false;
  if (passwordOpens(vTable.password, typed))
    return true;
  if (++wrong.count == h.settings.mostWrongPasswords)
    WriteLogAs(h.account, "Password window - " + std::to_string(wrong.count) +
                              " wrong passwords: every password refused for the rest of the minute");
  return false;
}

// The session's minutes when this one comes soon enough after them to be charged for the time
// between; nothing for a session's first minute, or after a longer gap.
const TableKeeper::SessionMinutes* catchingUp(const Handling& h, long long now) {
  const auto from = h.keeper.minutesFrom.find(h.session);
  if (from == h.keeper.minutesFrom.end() || now - from->second.chargedUntil > h.settings.catchUpSeconds)
    return nullptr;
  return &from->second;
}

GuardAnswer read(Handling& h) {
  GuardAnswer answer = slotAnswer(h.account);
  answer.passwordState = passwordStateOf(h.keeper);
  answer.cells = cellsOf(vTable, 2);
  return answer;
}

GuardAnswer admit(Handling& h) {
  if (accountSlot(vTable, h.account) != 0 || h.account.empty())
    return h.account.empty() ? refused(Refusal::NewUsersRefused) : slotAnswer(h.account);
  if (!newUsersAllowed(vTable))
    return refused(Refusal::NewUsersRefused);
  const int slot = firstFreeSlot(vTable);
  if (slot == 0)
    return refused(Refusal::NoFreeSlot);
  MakeTimeStamp();
  fillNewSlot(vTable.user(slot), vTable, h.account, vStamp);
  stampUser(vTable.user(slot), vStamp, h.request.machine);
  if (!saveKeptTable(h.keeper))
    return refused(Refusal::NotSaved);
  WriteLogAs(h.account, kFoundOneLine + zeroPadded(slot, 2));
  return slotAnswer(h.account);
}

GuardAnswer minute(Handling& h) {
  const int slot = accountSlot(vTable, h.account);
  if (slot == 0)
    return refused(Refusal::NotInTable);
  MakeTimeStamp();
  UserRecord& user = vTable.user(slot);
  const long long now = rt::secondsNow();
  // All the whole minutes since the session's time was last charged, at least one.
  const TableKeeper::SessionMinutes* earlier = catchingUp(h, now);
  const int due = earlier ? static_cast<int>(std::max<long long>(1, (now - earlier->chargedUntil) / 60)) : 1;
  const long long chargedUntil = earlier ? std::min(earlier->chargedUntil + due * 60LL, now) : now;
  CountedMinute counted;
  bool newDay = false;
  bool movedBack = false;
  for (int minute = 0; minute < due; ++minute) {
    counted = countMinute(user, vStamp, h.request.machine);
    newDay = newDay || counted.kind == MinuteKind::NewDay;
    movedBack = movedBack || counted.kind == MinuteKind::ClockMovedBack;
  }
  if (!saveKeptTable(h.keeper))
    return refused(Refusal::NotSaved);
  h.keeper.minutesFrom[h.session] = {now, chargedUntil};
  if (newDay)
    WriteLogAs(h.account, "New day allowance");
  if (movedBack) {
    std::string& logged = h.keeper.clockMovesLogged[h.account];
    if (logged != clockMovedBackText(user))
      WriteLogAs(h.account, logged = clockMovedBackText(user));
  }
  GuardAnswer answer = slotAnswer(h.account);
  answer.minute = counted.kind;
  answer.left = counted.left;
  return answer;
}

// The cells over the kept table, saved; the table is left as it was when the save fails.
bool applyAndSave(Handling& h, bool wholeTable) {
  applyCells(vTable, h.request.cells);
  return saveKeptTable(h.keeper, wholeTable);
}

GuardAnswer supervisorSave(Handling& h) {
  if (!opensGate(h, h.request.password)) {
    WriteLogAs(h.account, "Administration window - changes refused: wrong password");
    return refused(Refusal::WrongPassword);
  }
  // A new password is kept as its hash, whatever it looks like.
  for (Cell& cell : h.request.cells)
    if (cell.field == 1)
      if (std::string hashed = hashPassword(cell.text); !hashed.empty())
        cell.text = std::move(hashed);
  if (!applyAndSave(h, false))
    return refused(Refusal::NotSaved);
  WriteLogAs(h.account, "Administration window - " + changesText(h.request.cells));
  return slotAnswer(h.account);
}

// A copy's log lines, under its account. A caller without an account, and lines that only the
// guard and the administration tools write (which the report counts), are refused.
GuardAnswer logLines(Handling& h) {
  const bool refusedLine = std::any_of(h.request.lines.begin(), h.request.lines.end(), writtenByGuardOnly);
  if (h.account.empty() || refusedLine) {
    if (!h.account.empty())
      WriteLogAs(h.account, "Guard refused a log line that only the guard writes");
    return refused(Refusal::Malformed);
  }
  for (const std::string& line : h.request.lines)
    WriteLogAs(h.account, line);
  return GuardAnswer{};
}

// Every field once, when the tool replaces the whole table.
bool everyFieldOnce(const std::vector<Cell>& cells) {
  std::vector<bool> seen(kTableFields + 1, false);
  for (const Cell& cell : cells) {
    if (seen[cell.field])
      return false;
    seen[cell.field] = true;
  }
  return cells.size() == static_cast<std::size_t>(kTableFields);
}

GuardAnswer toolSave(Handling& h, const Caller& caller) {
  if (!caller.administrator) {
    WriteLogAs(h.account, "Admin tool - changes refused: not an administrator");
    return refused(Refusal::NotAdministrator);
  }
  if (h.request.wholeTable && !everyFieldOnce(h.request.cells))
    return refused(Refusal::Malformed);
  if (!h.request.wholeTable && !loadKeptTable(h.keeper))
    return refused(Refusal::NoTable);
  if (!applyAndSave(h, h.request.wholeTable))
    return refused(Refusal::NotSaved);
  h.keeper.holdsTable = true;  // a whole table replaces one the file could not give
  for (const std::string& line : h.request.lines)
    WriteLogAs(h.account, "Admin tool - " + line);
  return slotAnswer(h.account);
}

}  // namespace

std::string answerRequest(TableKeeper& keeper,
                          const RequestSettings& settings,
                          const Caller& caller,
                          std::string_view text) {
  GuardRequest request;
  if (!decodeRequest(text, request)) {
    WriteLogAs(caller.account,
               "Guard refused a request that was not whole (" + std::to_string(text.size()) + " bytes)");
    return encodeAnswer(refused(Refusal::Malformed));
  }
  // What the data file and the log keep of a name: no control bytes.
  request.namedAccount = storableText(request.namedAccount);
  request.machine = storableText(request.machine);
  const std::string& account =
      settings.believeNamedAccounts && !request.namedAccount.empty() ? request.namedAccount : caller.account;
  Handling h{keeper, settings, account, request, caller.session};
  switch (request.verb) {
    case GuardVerb::Log:
      return encodeAnswer(logLines(h));
    case GuardVerb::Tool:
      return encodeAnswer(toolSave(h, caller));
    default:
      break;
  }
  if (!loadKeptTable(keeper))
    return encodeAnswer(refused(Refusal::NoTable));
  switch (request.verb) {
    case GuardVerb::Read:
      return encodeAnswer(read(h));
    case GuardVerb::Admit:
      return encodeAnswer(admit(h));
    case GuardVerb::Minute:
      return encodeAnswer(minute(h));
    case GuardVerb::Check:
      return encodeAnswer(opensGate(h, request.password) ? GuardAnswer{} : refused(Refusal::WrongPassword));
    case GuardVerb::Save:
      return encodeAnswer(supervisorSave(h));
    case GuardVerb::Tool:
    case GuardVerb::Log:
      break;
  }
  return encodeAnswer(refused(Refusal::Malformed));
}
