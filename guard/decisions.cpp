#include "guard/decisions.h"

#include <algorithm>
#include <set>

#include "accounting/log/log_texts.h"
#include "accounting/table/table_rules.h"

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

// Sessions that ended are forgotten; a session number that now belongs to another logon starts
// afresh, with its own grace period. The guard that keeps the clock says what it saw come and go.
void rememberSessions(GuardMemory& memory,
                      const GuardSettings& settings,
                      const std::vector<SessionSeen>& sessions,
                      long long now,
                      std::vector<AccountLine>& lines) {
  std::map<unsigned, SessionMemory> kept;
  for (const SessionSeen& seen : sessions) {
    if (seen.account.empty())
      continue;
    const auto known = memory.sessions.find(seen.id);
    if (known != memory.sessions.end() && known->second.account == seen.account &&
        known->second.logonStamp == seen.logonStamp) {
      kept[seen.id] = known->second;
      continue;
    }
    SessionMemory s;
    s.account = seen.account;
    s.logonStamp = seen.logonStamp;
    s.firstSeen = now;
    kept[seen.id] = s;
    if (settings.keepsClock)
      lines.push_back({seen.account, kGuardLogonLine + seen.account});
  }
  if (settings.keepsClock)
    for (const auto& [id, s] : memory.sessions)
      if (const auto still = kept.find(id); still == kept.end() || still->second.logonStamp != s.logonStamp ||
                                            still->second.account != s.account)
        lines.push_back({s.account, kGuardLogoffSeenLine + s.account});
  memory.sessions = std::move(kept);
}

// Each limited account with a session pays for every minute from the look that first saw it:
// once per minute however many sessions and copies it has, and whether or not a copy runs. A
// pause between looks longer than a computer's sleep charges one minute.
void chargeMinutes(GuardMemory& memory,
                   const GuardSettings& settings,
                   const std::set<std::pair<std::string, unsigned>>& limited,
                   long long now,
                   std::vector<GuardAction>& actions) {
  const bool slept = memory.lastLook >= 0 && now - memory.lastLook > 3 * settings.minuteSeconds;
  memory.lastLook = now;
  std::set<std::string> charged;
  for (const auto& [account, session] : limited) {
    if (!charged.insert(account).second)
      continue;
    long long& next = memory.nextMinute.try_emplace(account, now).first->second;
    if (slept)
      next = std::max(next, now);
    int minutes = 0;
    for (; next <= now; next += settings.minuteSeconds)
      ++minutes;
    if (minutes > 0)
      actions.push_back({GuardAct::ChargeMinutes, session, account, minutes});
  }
  // An account without a session keeps the minute it paid for, and no more.
  std::erase_if(memory.nextMinute, [&](const auto& clock) { return !charged.contains(clock.first) && clock.second <= now; });
}

// A restart, or the log-off instead when the session needed too many within the window.
void restartOrLogOff(SessionMemory& s,
                     const GuardSettings& settings,
                     const SessionSeen& seen,
                     long long now,
                     std::vector<GuardAction>& actions) {
  std::erase_if(s.restarts, [&](long long at) { return now - at >= settings.restartWindowSeconds; });
  if (static_cast<int>(s.restarts.size()) >= settings.mostRestarts) {
    s.loggedOffAt = now;
    actions.push_back({GuardAct::LogOff, seen.id, seen.account});
    return;
  }
  s.restarts.push_back(now);
  actions.push_back({GuardAct::Restart, seen.id, seen.account});
}

bool loggingOff(const SessionMemory& s, const GuardSettings& settings, long long now) {
  return s.loggedOffAt >= 0 && now - s.loggedOffAt < settings.logoffRetrySeconds;
}

// What one session of a limited account needs now, if anything.
void decideSession(SessionMemory& s,
                   const GuardSettings& settings,
                   const SessionSeen& seen,
                   bool noMinutesLeft,
                   bool outsideHours,
                   long long now,
                   std::vector<GuardAction>& actions) {
  if (!noMinutesLeft && !outsideHours) {
    s.noMinutesSince = -1;
  } else if (s.noMinutesSince < 0) {
    s.noMinutesSince = now;
  } else if (now - s.noMinutesSince >= settings.noMinutesSeconds && !loggingOff(s, settings, now)) {
    s.loggedOffAt = now;
    actions.push_back({noMinutesLeft ? GuardAct::LogOffNoMinutes : GuardAct::LogOffOutsideHours, seen.id, seen.account});
    return;
  }
  if (seen.copies > 0) {
    s.copySeen = true;
    return;
  }
  if (!s.copySeen && now - s.firstSeen < settings.graceSeconds)
    return;
  if (loggingOff(s, settings, now))
    return;
  restartOrLogOff(s, settings, seen, now, actions);
}

// A session of an account without a slot gets what the program's start gives it: a slot when new
// users are allowed and one is free, and the log-off either way. Session 0 holds the services.
void meetUnlisted(SessionMemory& s,
                  const GuardSettings& settings,
                  const SessionSeen& seen,
                  const UsageTable& table,
                  long long now,
                  std::vector<GuardAction>& actions) {
  if (seen.id == 0 || loggingOff(s, settings, now))
    return;
  s.loggedOffAt = now;
  const bool admitted = newUsersAllowed(table) && firstFreeSlot(table) != 0;
  actions.push_back({admitted ? GuardAct::Admit : GuardAct::LogOffNotInTable, seen.id, seen.account});
}

}  // namespace

Decisions decide(GuardMemory& memory,
                 const GuardSettings& settings,
                 const TableSeen& table,
                 const std::vector<SessionSeen>& sessions,
                 long long now) {
  Decisions result;
  rememberSessions(memory, settings, sessions, now, result.lines);
  noteTable(memory, table.state, result.messages);
  if (table.state != TableState::Readable)
    return result;
  std::set<std::pair<std::string, unsigned>> limited;
  for (const SessionSeen& seen : sessions) {
    if (seen.account.empty())
      continue;
    SessionMemory& s = memory.sessions[seen.id];
    if (const int slot = accountSlot(table.table, seen.account)) {
      limited.insert({seen.account, seen.id});
      decideSession(s, settings, seen, minutesUsedUp(table.table.user(slot), table.today),
                    table.outsideHours.contains(seen.account), now, result.actions);
    } else if (settings.keepsClock) {
      meetUnlisted(s, settings, seen, table.table, now, result.actions);
    }
  }
  if (settings.keepsClock)
    chargeMinutes(memory, settings, limited, now, result.actions);
  return result;
}
