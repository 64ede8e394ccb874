#include "guard/decisions.h"

#include <algorithm>

#include "accounting/table_rules.h"

namespace {

// A message when the table stops being readable, and one when it can be read again; none
// while it stays as it was.
void noteTable(GuardMemory& memory, TableState state, std::vector<std::string>& messages) {
  if (state == memory.table)
    return;
  switch (state) {
    case TableState::Unreadable:
      messages.push_back("Guard cannot read the data file - no session is checked until it can");
      break;
    case TableState::Locked:
      messages.push_back("Guard finds the data file locked - no session is checked until it is free");
      break;
    case TableState::Readable:
      messages.push_back("Guard reads the data file again");
      break;
  }
  memory.table = state;
}

// A restart, or the log-off instead when the session needed too many within the window.
void restartOrLogOff(SessionMemory& s,
                     const GuardSettings& settings,
                     const SessionSeen& seen,
                     long long now,
                     GuardAct restart,
                     std::vector<GuardAction>& actions) {
  std::erase_if(s.restarts, [&](long long at) { return now - at >= settings.restartWindowSeconds; });
  if (static_cast<int>(s.restarts.size()) >= settings.mostRestarts) {
    s.loggedOffAt = now;
    actions.push_back({GuardAct::LogOff, seen.id, seen.account});
    return;
  }
  s.restarts.push_back(now);
  s.countingSince = now;
  actions.push_back({restart, seen.id, seen.account});
}

// Running copies that sent no counted minute for too long, in a session in use: one of them is
// suspended, or is not this program's counting copy at all.
bool notCounting(SessionMemory& s, const GuardSettings& settings, const SessionSeen& seen, long long now) {
  if (!settings.minutesReachGuard)
    return false;
  if (!seen.active) {
    s.countingSince = now;  // a locked or disconnected session is given its time again
    return false;
  }
  return now - std::max(s.countingSince, seen.lastMinute) >= settings.notCountingSeconds;
}

// What one session of a limited account needs now, if anything.
void decideSession(SessionMemory& s,
                   const GuardSettings& settings,
                   const SessionSeen& seen,
                   bool noMinutesLeft,
                   long long now,
                   std::vector<GuardAction>& actions) {
  const bool loggingOff = s.loggedOffAt >= 0 && now - s.loggedOffAt < settings.logoffRetrySeconds;
  if (!noMinutesLeft) {
    s.noMinutesSince = -1;
  } else if (s.noMinutesSince < 0) {
    s.noMinutesSince = now;
  } else if (now - s.noMinutesSince >= settings.noMinutesSeconds && !loggingOff) {
    s.loggedOffAt = now;
    actions.push_back({GuardAct::LogOffNoMinutes, seen.id, seen.account});
    return;
  }
  if (seen.copies > 0) {
    s.copySeen = true;
    if (notCounting(s, settings, seen, now) && !loggingOff)
      restartOrLogOff(s, settings, seen, now, GuardAct::Replace, actions);
    return;
  }
  if (!s.copySeen && now - s.firstSeen < settings.graceSeconds)
    return;
  if (loggingOff)
    return;
  restartOrLogOff(s, settings, seen, now, GuardAct::Restart, actions);
}

}  // namespace

Decisions decide(GuardMemory& memory,
                 const GuardSettings& settings,
                 const TableSeen& table,
                 const std::vector<SessionSeen>& sessions,
                 long long now) {
  Decisions result;
  // Sessions that ended are forgotten; a session number that now belongs to another logon
  // starts afresh, with its own grace period.
  std::map<unsigned, SessionMemory> kept;
  for (const SessionSeen& seen : sessions) {
    if (seen.account.empty())
      continue;
    SessionMemory s;
    s.account = seen.account;
    s.logonStamp = seen.logonStamp;
    s.firstSeen = now;
    s.countingSince = now;
    const auto known = memory.sessions.find(seen.id);
    if (known != memory.sessions.end() && known->second.account == seen.account &&
        known->second.logonStamp == seen.logonStamp)
      s = known->second;
    kept[seen.id] = s;
  }
  memory.sessions = std::move(kept);

  noteTable(memory, table.state, result.messages);
  if (table.state != TableState::Readable)
    return result;
  for (const SessionSeen& seen : sessions) {
    if (const int slot = accountSlot(table.table, seen.account))
      decideSession(memory.sessions[seen.id], settings, seen, minutesUsedUp(table.table.user(slot), table.today), now,
                    result.actions);
  }
  return result;
}
