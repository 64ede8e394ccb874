#include "guard/guard_cycle.h"

#include "accounting/activity_log.h"
#include "accounting/log_texts.h"
#include "accounting/usage_table.h"

namespace {

std::string errorText(unsigned long code) {
  return " (error " + std::to_string(code) + ")";
}

// The copy's start, with what follows the account in the line: why it was needed.
void restart(const GuardAction& action, const GuardPlatform& platform, const std::string& why = "") {
  if (const unsigned long error = platform.startProgram(action.session))
    WriteLogAs(action.account, "Guard could not start Orrindale - User " + action.account + why + errorText(error));
  else
    WriteLogAs(action.account, kGuardRestartLine + action.account + why);
}

void act(const GuardAction& action, const GuardPlatform& platform) {
  switch (action.act) {
    case GuardAct::Restart:
      restart(action, platform);
      return;
    case GuardAct::Replace:
      // Every copy in the session goes, a suspended one too, before a fresh one starts.
      platform.endCopies(action.session);
      restart(action, platform, kNotCountingReason);
      return;
    case GuardAct::LogOffNoMinutes:
      if (const unsigned long error = platform.logOff(action.session))
        WriteLogAs(action.account, "Guard could not log off " + action.account + kNoMinutesReason + errorText(error));
      else
        WriteLogAs(action.account, kGuardLogoffLine + action.account + kNoMinutesReason);
      return;
    case GuardAct::LogOff:
      if (const unsigned long error = platform.logOff(action.session)) {
        WriteLogAs(action.account, "Guard could not log off " + action.account + errorText(error));
        // A session that cannot be logged off still gets its copy back, which counts its minutes.
        restart(action, platform);
        return;
      }
      WriteLogAs(action.account, kGuardLogoffLine + action.account);
      return;
  }
}

}  // namespace

void guardCycle(GuardRun& run, const GuardPlatform& platform, long long now) {
  TableSeen table;
  if (run.keeper) {
    lookAtDataFile(*run.keeper);
    table = {run.keeper->holdsTable ? TableState::Readable : TableState::Unreadable, vTable, {}};
  } else {
    table = readTable(run.table);
  }
  MakeTimeStamp();
  table.today = vStamp;
  std::vector<SessionSeen> sessions;
  if (!platform.sessions(sessions))
    return;
  if (run.keeper)
    for (SessionSeen& session : sessions) {
      const auto minutes = run.keeper->minutesFrom.find(session.id);
      session.lastMinute = minutes == run.keeper->minutesFrom.end() ? -1 : minutes->second.lastAt;
    }
  const Decisions decisions = decide(run.memory, run.settings, table, sessions, now);
  for (const std::string& message : decisions.messages)
    WriteLogAs(kGuardLogName, message);
  for (const GuardAction& action : decisions.actions)
    act(action, platform);
}
