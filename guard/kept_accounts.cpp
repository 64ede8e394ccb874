#include "guard/kept_accounts.h"

#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "runtime/processes.h"

bool chargeAccount(TableKeeper& keeper, const std::string& account, int minutes) {
  const int slot = accountSlot(vTable, account);
  if (slot == 0)
    return false;
  MakeTimeStamp();
  UserRecord& user = vTable.user(slot);
  const bool hadMinutes = !minutesUsedUp(user, vStamp);
  const std::string machine = storableText(rt::getEnv("COMPUTERNAME"));
  bool newDay = false;
  bool movedBack = false;
  for (int minute = 0; minute < minutes; ++minute) {
    const MinuteKind kind = countMinute(user, vStamp, machine).kind;
    newDay = newDay || kind == MinuteKind::NewDay;
    movedBack = movedBack || kind == MinuteKind::ClockMovedBack;
  }
  if (!saveKeptTable(keeper))
    return false;
  if (newDay)
    WriteLogAs(account, "New day allowance");
  if (movedBack) {
    std::string& logged = keeper.clockMovesLogged[account];
    if (logged != clockMovedBackText(user))
      WriteLogAs(account, logged = clockMovedBackText(user));
  }
  if (hadMinutes && minutesUsedUp(user, vStamp))
    WriteLogAs(account, kGuardAtZeroLine + account);
  return true;
}

Refusal admitAccount(TableKeeper& keeper, const std::string& account, const std::string& machine, int& slot) {
  slot = accountSlot(vTable, account);
  if (slot != 0)
    return Refusal::None;
  if (account.empty() || !newUsersAllowed(vTable))
    return Refusal::NewUsersRefused;
  slot = firstFreeSlot(vTable);
  if (slot == 0)
    return Refusal::NoFreeSlot;
  MakeTimeStamp();
  fillNewSlot(vTable.user(slot), vTable, account, vStamp);
  stampUser(vTable.user(slot), vStamp, machine);
  if (!saveKeptTable(keeper)) {
    slot = 0;
    return Refusal::NotSaved;
  }
  WriteLogAs(account, kFoundOneLine + zeroPadded(slot, 2));
  return Refusal::None;
}
