#include "guard/guard_cycle.h"

#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/usage_table.h"
#include "accounting/table/table_rules.h"
#include "guard/kept_accounts.h"
#include "guard/requests.h"
#include "runtime/processes.h"

namespace {

std::string errorText(unsigned long code) {
  return " (error " + std::to_string(code) + ")";
}

void restart(const GuardAction& action, const GuardPlatform& platform) {
  if (const unsigned long error = platform.startProgram(action.session))
    WriteLogAs(action.account, "Guard could not start Orrindale - User " + action.account + errorText(error));
  else
    WriteLogAs(action.account, kGuardRestartLine + action.account);
}

// The log-off, with what follows the account in its line: why it was needed. False when the
// platform refused it.
bool logOff(const GuardAction& action, const GuardPlatform& platform, const char* why) {
  if (const unsigned long error = platform.logOff(action.session)) {
    WriteLogAs(action.account, "Guard could not log off " + action.account + why + errorText(error));
    return false;
  }
  WriteLogAs(action.account, kGuardLogoffLine + action.account + why);
  return true;
}

void act(GuardRun& run, const GuardAction& action, const GuardPlatform& platform) {
  switch (action.act) {
    case GuardAct::Restart:
      restart(action, platform);
      return;
    case GuardAct::LogOffNoMinutes:
      logOff(action, platform, kNoMinutesReason);
      return;
    case GuardAct::LogOffOutsideHours:
      logOff(action, platform, kOutsideHoursReason);
      return;
    case GuardAct::LogOff:
      // A session that cannot be logged off still gets its copy back, which shows its minutes.
      if (!logOff(action, platform, ""))
        restart(action, platform);
      return;
    case GuardAct::ChargeMinutes:
      // Minutes that could not be kept are due again at the next look.
      if (!chargeAccount(*run.keeper, action.account, action.minutes))
        run.memory.nextMinute[action.account] -= run.settings.minuteSeconds * action.minutes;
      return;
    case GuardAct::Admit: {
      int slot = 0;
      const bool admitted =
          admitAccount(*run.keeper, action.account, storableText(rt::getEnv("COMPUTERNAME")), slot) == Refusal::None;
      logOff(action, platform, admitted ? kAdmittedReason : kNotInTableReason);
      return;
    }
    case GuardAct::LogOffNotInTable:
      logOff(action, platform, kNotInTableReason);
      return;
  }
}

// The limited accounts with a session that are outside their allowed hours on the guard's clock;
// a damaged hours file keeps them all outside.
std::set<std::string> outsideTheirHours(TableKeeper& keeper,
                                        const UsageTable& table,
                                        const std::vector<SessionSeen>& sessions) {
  std::set<std::string> outside;
  if (!loadKeptHours(keeper))
    return outside;
  const Moment moment = hoursMoment(keeper.hours, vStamp);
  for (const SessionSeen& seen : sessions)
    if (accountSlot(table, seen.account) != 0 &&
        !hoursAt(hoursOf(keeper.hours, seen.account), moment,
                 extensionOf(keeper.hours, seen.account, moment.date))
             .inside)
      outside.insert(seen.account);
  return outside;
}

// Any account may move the system's zone; the day's allowance moves with it, the allowed hours
// (read in their own zone) do not. Either way the supervisor reads of it in the log.
void noteZoneChange(GuardRun& run) {
  const rt::ZoneRule zone = rt::systemZone();
  if (run.zone && *run.zone != zone) {
    std::string line = "Time zone changed to " + zoneText(zone);
    if (run.keeper && run.keeper->hours.zone)
      line += " - allowed hours still read in " + zoneText(*run.keeper->hours.zone);
    WriteLogAs(kGuardLogName, line);
  }
  run.zone = zone;
}

}  // namespace

void guardCycle(GuardRun& run, const GuardPlatform& platform, long long now) {
  run.settings.keepsClock = run.keeper != nullptr;
  TableSeen table;
  if (run.keeper) {
    lookAtDataFile(*run.keeper);
    lookAtHoursFile(*run.keeper);
    noteZoneChange(run);
    settleSessionWrites(*run.keeper, now);
    expireEarlierRequests(*run.keeper, now);
    table = {run.keeper->holdsTable ? TableState::Readable : TableState::Unreadable, vTable, {}, {}};
  } else {
    table = readTable(run.table);
  }
  MakeTimeStamp();
  table.today = vStamp;
  std::vector<SessionSeen> sessions;
  if (!platform.sessions(sessions))
    return;
  if (run.keeper)
    table.outsideHours = outsideTheirHours(*run.keeper, table.table, sessions);
  const Decisions decisions = decide(run.memory, run.settings, table, sessions, now);
  for (const std::string& message : decisions.messages)
    WriteLogAs(kGuardLogName, message);
  for (const AccountLine& line : decisions.lines)
    WriteLogAs(line.account, line.text);
  for (const GuardAction& action : decisions.actions)
    act(run, action, platform);
}
