#include "guard/guard_cycle.h"

#include "accounting/activity_log.h"
#include "accounting/log_texts.h"
#include "accounting/usage_table.h"

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

void act(const GuardAction& action, const GuardPlatform& platform) {
  if (action.act == GuardAct::Restart) {
    restart(action, platform);
    return;
  }
  if (const unsigned long error = platform.logOff(action.session)) {
    WriteLogAs(action.account, "Guard could not log off " + action.account + errorText(error));
    // A session that cannot be logged off still gets its copy back, which counts its minutes.
    restart(action, platform);
    return;
  }
  WriteLogAs(action.account, kGuardLogoffLine + action.account);
}

}  // namespace

void guardCycle(GuardRun& run, const GuardPlatform& platform, long long now) {
  TableSeen table;
  if (run.keeper) {
    lookAtDataFile(*run.keeper);
    table = {run.keeper->holdsTable ? TableState::Readable : TableState::Unreadable, vTable};
  } else {
    table = readTable(run.table);
  }
  std::vector<SessionSeen> sessions;
  if (!platform.sessions(sessions))
    return;
  const Decisions decisions = decide(run.memory, run.settings, table, sessions, now);
  for (const std::string& message : decisions.messages)
    WriteLogAs(kGuardLogName, message);
  for (const GuardAction& action : decisions.actions)
    act(action, platform);
}
