#include "guard/decisions.h"

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

// What one session of a limited account needs now, if anything.
void decideSession(SessionMemory& s,
                   const GuardSettings& settings,
                   const SessionSeen& seen,
                   long long now,
                   std::vector<GuardAction>& actions) {
  if (seen.copies > 0) {
    s.copySeen = true;
    return;
  }
  if (!s.copySeen && now - s.firstSeen < settings.graceSeconds)
    return;
  if (s.loggedOffAt >= 0 && now - s.loggedOffAt < settings.logoffRetrySeconds)
    return;
  std::erase_if(s.restarts, [&](long long at) { return now - at >= settings.restartWindowSeconds; });
  if (static_cast<int>(s.restarts.size()) >= settings.mostRestarts) {
    s.loggedOffAt = now;
    actions.push_back({GuardAct::LogOff, seen.id, seen.account});
    return;
  }
  s.restarts.push_back(now);
  actions.push_back({GuardAct::Restart, seen.id, seen.account});
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
    if (accountSlot(table.table, seen.account) != 0)
      decideSession(memory.sessions[seen.id], settings, seen, now, result.actions);
  }
  return result;
}
