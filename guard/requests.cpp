#include "guard/requests.h"

#include <algorithm>

#include "accounting/guard_link/guard_protocol.h"
#include "accounting/hours/hours_book.h"
#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/table_cells.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "guard/kept_accounts.h"
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

// The lock an account earned with its wrong passwords: the first after a few within a minute,
// each later one after as many more, twice as long as the one before, up to the longest.
void countWrongPassword(Handling& h, TableKeeper::PasswordLock& lock, long long now) {
  const int most = h.settings.mostWrongPasswords;
  ++lock.wrong;
  if (lock.locks == 0) {
    std::erase_if(lock.recent, [&](long long at) { return now - at >= 60; });
    lock.recent.push_back(now);
    if (static_cast<int>(lock.recent.size()) < most)
      return;
    lock.recent.clear();
  } else if (++lock.sinceLock < most) {
    return;
  }
  lock.sinceLock = 0;
  const long long seconds = std::min(h.settings.longestLockSeconds, 60LL << std::min(lock.locks, 20));
  ++lock.locks;
  lock.lockedUntil = now + seconds;
  WriteLogAs(h.account, "Password window - " + std::to_string(lock.wrong) + " wrong passwords: every password refused for " +
                            std::to_string(seconds / 60) + (seconds == 60 ? " minute" : " minutes"));
}

enum class Gate { Opens, Wrong, Locked };

// Whether the typed password opens the gate. An account that typed too many wrong ones is
// refused every password until its lock is over, without the cost of a hash; a right password
// or a new day forgets the wrong ones.
Gate gate(Handling& h, const std::string& typed) {
  const long long now = rt::secondsNow();
  MakeTimeStamp();
  const std::string today = vStamp.year + vStamp.month + vStamp.day;
  TableKeeper::PasswordLock& lock = h.keeper.passwordLocks[h.account];
  if (lock.day != today) {
    lock = TableKeeper::PasswordLock{};
    lock.day = today;
  }
  if (now < lock.lockedUntil)
    return Gate::Locked;
  if (passwordOpens(vTable.password, typed)) {
    lock = TableKeeper::PasswordLock{};
    lock.day = today;
    return Gate::Opens;
  }
  countWrongPassword(h, lock, now);
  return Gate::Wrong;
}

// What the session made the guard write this minute; a minute that is over is settled first.
TableKeeper::SessionWrites& writesOf(TableKeeper& keeper, unsigned session, const std::string& account) {
  const long long now = rt::secondsNow();
  settleSessionWrites(keeper, now);
  return keeper.writesFrom.try_emplace(session, TableKeeper::SessionWrites{account, now}).first->second;
}

GuardAnswer read(Handling& h) {
  GuardAnswer answer = slotAnswer(h.account);
  answer.passwordState = passwordStateOf(h.keeper);
  answer.cells = cellsOf(vTable, 2);
  return answer;
}

GuardAnswer admit(Handling& h) {
  int slot = 0;
  const Refusal refusal = admitAccount(h.keeper, h.account, h.request.machine, slot);
  return refusal == Refusal::None ? slotAnswer(h.account) : refused(refusal);
}

// The caller's minutes left today as the guard counts them; the guard charges them itself.
GuardAnswer minute(Handling& h) {
  const int slot = accountSlot(vTable, h.account);
  if (slot == 0)
    return refused(Refusal::NotInTable);
  MakeTimeStamp();
  GuardAnswer answer = slotAnswer(h.account);
  answer.left = minutesLeftToday(vTable.user(slot), vStamp);
  return answer;
}

UsageTable withCells(UsageTable table, const std::vector<Cell>& cells) {
  applyCells(table, cells);
  return table;
}

// The cells over the kept table, saved; the table is left as it was when the save fails.
bool applyAndSave(Handling& h, bool wholeTable) {
  applyCells(vTable, h.request.cells);
  return saveKeptTable(h.keeper, wholeTable);
}

// Whether the password typed at the gate opens it for a supervisor's change from the
// administration window. While the account is locked out its changes are not logged one by one:
// the lock was.
bool supervisorGate(Handling& h) {
  const Gate opened = gate(h, h.request.password);
  if (opened == Gate::Wrong)
    WriteLogAs(h.account, "Administration window - changes refused: wrong password");
  return opened == Gate::Opens;
}

GuardAnswer supervisorSave(Handling& h) {
  if (!supervisorGate(h))
    return refused(Refusal::WrongPassword);
  // A new password is kept as its hash, whatever it looks like.
  for (Cell& cell : h.request.cells)
    if (cell.field == 1)
      if (std::string hashed = hashPassword(cell.text); !hashed.empty())
        cell.text = std::move(hashed);
  // The window hands on every cell it shows: the log names those that change the table.
  const std::vector<Cell> changes = changedCells(vTable, withCells(vTable, h.request.cells));
  if (!applyAndSave(h, false))
    return refused(Refusal::NotSaved);
  WriteLogAs(h.account, "Administration window - " + changesText(changes));
  return slotAnswer(h.account);
}

// A copy's log lines, under its account. A caller without an account, and lines that only the
// guard and the administration tools write (which the report counts), are refused.
GuardAnswer logLines(Handling& h) {
  const bool refusedLine = std::any_of(h.request.lines.begin(), h.request.lines.end(), writtenByGuardOnly);
  if (h.account.empty() || refusedLine) {
    if (!h.account.empty() && ++writesOf(h.keeper, h.session, h.account).refusals == 1)
      WriteLogAs(h.account, "Guard refused a log line that only the guard writes");
    return refused(Refusal::Malformed);
  }
  TableKeeper::SessionWrites& writes = writesOf(h.keeper, h.session, h.account);
  for (const std::string& line : h.request.lines)
    if (++writes.lines <= h.settings.mostLogLines)
      WriteLogAs(h.account, line);
    else
      ++writes.dropped;
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

GuardAnswer refusedWith(const std::string& why) {
  GuardAnswer answer = refused(Refusal::RequestRefused);
  answer.why = why;
  return answer;
}

bool administratorOnly(Handling& h, const Caller& caller) {
  if (!caller.administrator)
    WriteLogAs(h.account, "Admin tool - changes refused: not an administrator");
  return caller.administrator;
}

// The hours file's lines: anyone may read the hours, as the tool's show prints them.
GuardAnswer hours(Handling& h) {
  GuardAnswer answer;
  const std::string text = hoursBookText(h.keeper.hours);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    answer.lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  answer.hoursDamaged = h.keeper.hours.damaged;
  return answer;
}

// One account's hours or the default, over the hours as they are kept; logged as `who` did it.
GuardAnswer keepHours(Handling& h, const std::string& who) {
  AllowedHours schedule;
  if (h.request.lines.size() != 1 || h.request.hours.empty() || !readHoursText(h.request.hours, schedule))
    return refused(Refusal::Malformed);
  if (!h.request.target.empty() && (!loadKeptTable(h.keeper) || accountSlot(vTable, h.request.target) == 0))
    return refusedWith("there is no account \"" + h.request.target + "\" in the table");
  HoursBook book = h.keeper.hours;
  setHoursInBook(book, h.request.target, schedule);
  if (!saveKeptHours(h.keeper, book))
    return refused(Refusal::NotSaved);
  WriteLogAs(h.account, who + " - " + h.request.lines.front());
  return GuardAnswer{};
}

GuardAnswer setHours(Handling& h, const Caller& caller) {
  if (!administratorOnly(h, caller))
    return refused(Refusal::NotAdministrator);
  return keepHours(h, "Admin tool");
}

// The administration window's change is the supervisor's, as its other saves: taken from any
// account with the password that opens the gate, which counts towards the same lock.
GuardAnswer supervisorHours(Handling& h) {
  if (!loadKeptTable(h.keeper))
    return refused(Refusal::NoTable);
  if (!supervisorGate(h))
    return refused(Refusal::WrongPassword);
  return keepHours(h, "Administration window");
}

// A request's lines under its own account, the caller's under the caller's.
void writeBookLines(Handling& h, const std::vector<BookLine>& lines) {
  for (const BookLine& line : lines)
    WriteLogAs(line.account.empty() ? h.account : line.account, line.message);
}

// A request for more time counts for the account of the caller's token, whatever it names.
GuardAnswer ask(Handling& h) {
  if (h.account.empty())
    return refused(Refusal::Malformed);
  HoursBook book = h.keeper.hours;
  MakeTimeStamp();
  std::vector<BookLine> logged;
  GuardAnswer answer;
  const std::string refusal =
      askInBook(book, h.account, h.request.minutes, h.request.note, vStamp, rt::secondsNow(), answer.number, logged);
  if (!refusal.empty())
    return refusedWith(refusal);
  if (!saveKeptHours(h.keeper, book))
    return refused(Refusal::NotSaved);
  writeBookLines(h, logged);
  return answer;
}

// The tool answers for an administrator; the answer window for anyone who types a password that
// opens the gate for the caller's account (its wrong guesses count towards the same lock).
// The request is answered in the hours file before its minutes go into the table: when the table
// cannot be written the hours file is put back (the request open again), and when even that fails
// the request stays answered without its minutes. Either way an approval never gives its minutes
// twice, nor minutes no answer accounts for.
GuardAnswer answer(Handling& h, const Caller& caller) {
  if (!h.request.passwordGiven && !administratorOnly(h, caller))
    return refused(Refusal::NotAdministrator);
  if (!loadKeptTable(h.keeper))
    return refused(Refusal::NoTable);
  if (const Gate opened = h.request.passwordGiven ? gate(h, h.request.password) : Gate::Opens; opened != Gate::Opens) {
    if (opened == Gate::Wrong)
      WriteLogAs(h.account, "Answer window - answer refused: wrong password");
    return refused(Refusal::WrongPassword);
  }
  const HoursBook keptBook = h.keeper.hours;
  const std::string keptText = h.keeper.keptHoursText;
  HoursBook book = keptBook;
  MakeTimeStamp();
  std::vector<BookLine> logged;
  GuardAnswer answered;
  const std::string refusal =
      answerInBook(book, vTable, h.request.number, h.request.minutes, vStamp, rt::secondsNow(), answered.lines, logged);
  if (!refusal.empty()) {
    restoreKeptTable(h.keeper);
    return refusedWith(refusal);
  }
  if (!saveKeptHours(h.keeper, book)) {
    restoreKeptTable(h.keeper);
    return refused(Refusal::NotSaved);
  }
  if (h.request.minutes > 0 && !saveKeptTable(h.keeper)) {
    if (putBackKeptHours(h.keeper, keptBook, keptText))
      return refused(Refusal::NotSaved);
    answered.why = "the guard could not write the data file, nor put the request back: " +
                   approvedWithoutMinutes(*findRequest(book.requests, h.request.number), answered.lines, logged);
    answered.refusal = Refusal::NotSaved;
  }
  writeBookLines(h, logged);
  return answered;
}

}  // namespace

std::string answerRequest(TableKeeper& keeper,
                          const RequestSettings& settings,
                          const Caller& caller,
                          std::string_view text) {
  GuardRequest request;
  if (!decodeRequest(text, request)) {
    if (++writesOf(keeper, caller.session, caller.account).refusals == 1)
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
  const bool aboutHours = request.verb == GuardVerb::Hours || request.verb == GuardVerb::SetHours ||
                          request.verb == GuardVerb::SaveHours || request.verb == GuardVerb::Ask ||
                          request.verb == GuardVerb::Answer;
  if (aboutHours && !loadKeptHours(keeper))
    return encodeAnswer(refused(Refusal::NotSaved));
  switch (request.verb) {
    case GuardVerb::Hours:
      return encodeAnswer(hours(h));
    case GuardVerb::SetHours:
      return encodeAnswer(setHours(h, caller));
    case GuardVerb::SaveHours:
      return encodeAnswer(supervisorHours(h));
    case GuardVerb::Ask:
      return encodeAnswer(ask(h));
    case GuardVerb::Answer:
      return encodeAnswer(answer(h, caller));
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
      return encodeAnswer(gate(h, request.password) == Gate::Opens ? GuardAnswer{} : refused(Refusal::WrongPassword));
    case GuardVerb::Save:
      return encodeAnswer(supervisorSave(h));
    default:
      break;
  }
  return encodeAnswer(refused(Refusal::Malformed));
}

void settleSessionWrites(TableKeeper& keeper, long long now) {
  std::erase_if(keeper.writesFrom, [&](const auto& entry) {
    const TableKeeper::SessionWrites& writes = entry.second;
    if (now - writes.since < 60)
      return false;
    if (writes.dropped > 0)
      WriteLogAs(writes.account, "Guard dropped " + std::to_string(writes.dropped) +
                                     " log lines of one session over its limit of a minute");
    if (writes.refusals > 1)
      WriteLogAs(writes.account, "Guard refused " + std::to_string(writes.refusals - 1) +
                                     " more requests of one session within a minute");
    return true;
  });
}

void expireEarlierRequests(TableKeeper& keeper, long long now) {
  if (!loadKeptHours(keeper))
    return;
  HoursBook book = keeper.hours;
  std::vector<BookLine> logged;
  MakeTimeStamp();
  expireInBook(book, vStamp, now, logged);
  // Not kept: tried again at the next round.
  if (logged.empty() || !saveKeptHours(keeper, book))
    return;
  for (const BookLine& line : logged)
    WriteLogAs(line.account, line.message);
}
