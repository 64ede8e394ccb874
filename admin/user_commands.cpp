// The administration tool's commands for accounts: add-user, and remove-user, set-allowance
// and grant, which change every slot that holds the account.
#include <algorithm>

#include "accounting/log/activity_log.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "admin/account_names.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/command_line.h"
#include "admin/table_file.h"
#include "admin/value_checks.h"

namespace {
std::string notInTable(const std::string& account) {
  return "there is no account \"" + account + "\" in the table";
}

std::string slotText(int slot) {
  return "slot " + std::to_string(slot);
}

int addUser(const Invocation& call) {
  const std::string& typed = call.operands[0];
  std::string problem = accountProblem(typed);
  int wanted = 0;
  if (problem.empty() && call.has("--slot"))
    problem = slotProblem(call.value("--slot"), wanted);
  std::vector<DayMinutes> entries;
  if (problem.empty())
    problem = dayMinutesListProblem({call.operands.begin() + 1, call.operands.end()}, entries);
  std::string account;
  if (problem.empty())
    problem = storedAccountName(typed, call.has("--force"), account);
  if (!problem.empty())
    return refuseUsage(call, problem);

  return changeTable(*call.console, [&] {
    if (const int taken = accountSlot(vTable, account))
      return Change{{}, account + " is already in " + slotText(taken)};
    const int slot = wanted ? wanted : firstFreeSlot(vTable);
    if (slot == 0)
      return Change{{}, "all " + std::to_string(kUserSlots) + " slots are taken"};
    if (!vTable.user(slot).field(kAccount).empty())
      return Change{{}, slotText(slot) + " holds " + vTable.user(slot).field(kAccount)};
    MakeTimeStamp();
    UserRecord user;
    fillNewSlot(user, vTable, account, vStamp);
    for (const DayMinutes& entry : entries)
      for (int day : daysOf(entry))
        user.allowance(day) = std::to_string(entry.minutes);
    // Never counted yet: the first counted minute starts today's allowance, which the table
    // shows until then.
    startTodaysAllowance(user, vStamp);
    vTable.user(slot) = user;
    return Change{{account + " added in " + slotText(slot)}, ""};
  });
}

int removeUser(const Invocation& call) {
  const std::string& account = call.operands[0];
  return changeTable(*call.console, [&] {
    Change change;
    // A duplicate made in the grid goes too, so that the account is not counted in it instead.
    while (const int slot = accountSlot(vTable, account)) {
      vTable.user(slot) = UserRecord{};
      change.done.push_back(account + " removed from " + slotText(slot));
    }
    if (change.done.empty())
      change.refusal = notInTable(account);
    return change;
  });
}

int setAllowance(const Invocation& call) {
  const std::string& account = call.operands[0];
  std::vector<DayMinutes> entries;
  const std::string problem = dayMinutesListProblem({call.operands.begin() + 1, call.operands.end()}, entries);
  if (!problem.empty())
    return refuseUsage(call, problem);
  return changeTable(*call.console, [&] {
    const int slot = accountSlot(vTable, account);
    if (slot == 0)
      return Change{{}, notInTable(account)};
    Change change;
    for (const DayMinutes& entry : entries) {
      for (int day : daysOf(entry))
        vTable.user(slot).allowance(day) = std::to_string(entry.minutes);
      change.done.push_back("allowance of " + account + " set for " + daysText(entry) + " to " +
                            std::to_string(entry.minutes));
    }
    return change;
  });
}

// Adds the minutes to what is left today (grantToday says how).
int grant(const Invocation& call) {
  const std::string& account = call.operands[0];
  int minutes = 0;
  const std::string problem = minutesProblem(call.operands[1], minutes);
  if (!problem.empty())
    return refuseUsage(call, problem);
  return changeTable(*call.console, [&] {
    const int slot = accountSlot(vTable, account);
    if (slot == 0)
      return Change{{}, notInTable(account)};
    MakeTimeStamp();
    const int left = grantToday(vTable.user(slot), minutes, vStamp);
    return Change{
        {std::to_string(minutes) + " minutes granted to " + account + ", " + std::to_string(left) + " left today"}, ""};
  });
}
}  // namespace

void addUserCommands(std::vector<AdminCommand>& table) {
  table.push_back({"add-user",
                   "NAME [--slot N] [--force] [DAY=MINUTES...]",
                   "gives the account a free slot (or slot N) with the default allowances, changed by the pairs; "
                   "stores the account's own spelling, and a name that is no account here only with --force",
                   1,
                   kAnyNumber,
                   {{"--slot", "N"}, {"--force", ""}},
                   addUser});
  table.push_back({"remove-user", "NAME", "frees the account's slot", 1, 1, {}, removeUser});
  table.push_back({"set-allowance",
                   "NAME DAY=MINUTES...",
                   "the account's allowance per weekday, from the next day on",
                   2,
                   kAnyNumber,
                   {},
                   setAllowance});
  table.push_back(
      {"grant", "NAME MINUTES", "adds minutes to what the account has left today (at most 1440)", 2, 2, {}, grant});
}
