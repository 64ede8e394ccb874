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
    logAs(action.account, "Guard could not start Orrindale - User " + action.account + errorText(error));
  else
    logAs(action.account, kGuardRestartLine + action.account);
}

void act(const GuardAction& action, const GuardPlatform& platform) {
  if (action.act == GuardAct::Restart) {
    restart(action, platform);
    return;
  }
  if (const unsigned long error = platform.logOff(action.session)) {
    logAs(action.account, "Guard could not log off " + action.account + errorText(error));
    // A session that cannot be logged off still gets its copy back, which counts its minutes.
    restart(action, platform);
    return;
  }
  logAs(action.account, kGuardLogoffLine + action.account);
}

}  // namespace

void logAs(const std::string& user, const std::string& message) {
  vSession.userName = user;
  WriteLog(message);
  vSession.userName = kGuardLogName;
}

void guardCycle(GuardRun& run, const GuardPlatform& platform, long long now) {
  const TableSeen table = readTable(run.table);
  std::vector<SessionSeen> sessions;
  if (!platform.sessions(sessions))
    return;
  const Decisions decisions = decide(run.memory, run.settings, table, sessions, now);
  for (const std::string& message : decisions.messages)
    logAs(kGuardLogName, message);
  for (const GuardAction& action : decisions.actions)
    act(action, platform);
}
