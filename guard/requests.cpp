#include "guard/requests.h"

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
  const std::string& account;  // whom the request counts for
  GuardRequest& request;
  unsigned session;  // where it came from
};

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
  const CountedMinute counted = countMinute(user, vStamp, h.request.machine);
  if (!saveKeptTable(h.keeper))
    return refused(Refusal::NotSaved);
  h.keeper.lastMinuteAt[h.session] = rt::secondsNow();
  if (counted.kind == MinuteKind::NewDay) {
    WriteLogAs(h.account, "New day allowance");
  } else if (counted.kind == MinuteKind::ClockMovedBack) {
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
  if (!passwordOpens(vTable.password, h.request.password)) {
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
  const std::string& account =
      settings.believeNamedAccounts && !request.namedAccount.empty() ? request.namedAccount : caller.account;
  Handling h{keeper, account, request, caller.session};
  if (request.verb == GuardVerb::Log) {
    for (const std::string& line : request.lines)
      WriteLogAs(account, line);
    return encodeAnswer(GuardAnswer{});
  }
  if (request.verb == GuardVerb::Tool) {
    if (!caller.administrator) {
      WriteLogAs(account, "Admin tool - changes refused: not an administrator");
      return encodeAnswer(refused(Refusal::NotAdministrator));
    }
    if (request.wholeTable ? request.cells.size() != static_cast<std::size_t>(kTableFields) : !loadKeptTable(keeper))
      return encodeAnswer(refused(request.wholeTable ? Refusal::Malformed : Refusal::NoTable));
    if (!applyAndSave(h, request.wholeTable))
      return encodeAnswer(refused(Refusal::NotSaved));
    keeper.holdsTable = true;
    for (const std::string& line : request.lines)
      WriteLogAs(account, "Admin tool - " + line);
    return encodeAnswer(slotAnswer(account));
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
      return encodeAnswer(passwordOpens(vTable.password, request.password) ? GuardAnswer{}
                                                                           : refused(Refusal::WrongPassword));
    case GuardVerb::Save:
      return encodeAnswer(supervisorSave(h));
    case GuardVerb::Tool:
    case GuardVerb::Log:
      break;
  }
  return encodeAnswer(refused(Refusal::Malformed));
}
