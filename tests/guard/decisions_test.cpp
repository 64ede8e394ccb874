// The guard's decisions per session: the grace period after a logon, restarts, the log-off
// after repeated kills, accounts not in the table, and a table that cannot be read.
#include "guard/decisions.h"

#include <gtest/gtest.h>

namespace {

// A readable table with these accounts in slots 1, 2, ...
TableSeen tableOf(const std::vector<std::string>& accounts) {
  TableSeen seen{TableState::Readable, {}, {}, {}};
  for (std::size_t i = 0; i < accounts.size(); ++i) {
    seen.table.user(static_cast<int>(i) + 1).field(kAccount) = accounts[i];
    seen.table.user(static_cast<int>(i) + 1).field(kMinutesLeft) = "60";
  }
  return seen;
}

SessionSeen session(unsigned id, const std::string& account, int copies, long long logonStamp = 0) {
  return {id, account, logonStamp, copies};
}

// The guard's memory across looks, and each look's actions as "restart 1 alice".
struct Looks {
  GuardMemory memory;
  GuardSettings settings;
  TableSeen table = tableOf({"alice", "bob"});

  std::vector<std::string> at(long long now, const std::vector<SessionSeen>& sessions) {
    std::vector<std::string> acts;
    static const char* const kActs[] = {"restart ", "logoff ", "logoff-no-minutes ", "logoff-outside-hours ",
                                        "charge ", "admit ", "logoff-not-in-table "};
    const Decisions decided = decide(memory, settings, table, sessions, now);
    for (const GuardAction& a : decided.actions)
      acts.push_back(kActs[static_cast<int>(a.act)] + std::to_string(a.session) + " " + a.account +
                     (a.act == GuardAct::ChargeMinutes ? " " + std::to_string(a.minutes) : ""));
    for (const AccountLine& line : decided.lines)
      acts.push_back(line.account + ": " + line.text);
    return acts;
  }
};

using Acts = std::vector<std::string>;

}  // namespace

TEST(GuardDecisions, NoCopyYetIsLeftForTheGracePeriodAfterLogon) {
  Looks look;
  EXPECT_EQ(look.at(1000, {session(1, "alice", 0)}), Acts{});
  EXPECT_EQ(look.at(1179, {session(1, "alice", 0)}), Acts{});
  EXPECT_EQ(look.at(1180, {session(1, "alice", 0)}), Acts{"restart 1 alice"});
  EXPECT_EQ(look.at(1185, {session(1, "alice", 1)}), Acts{});
}

TEST(GuardDecisions, ACopyEndedAfterItRanIsRestartedAtOnce) {
  Looks look;
  EXPECT_EQ(look.at(1000, {session(1, "alice", 1)}), Acts{});
  EXPECT_EQ(look.at(1005, {session(1, "alice", 0)}), Acts{"restart 1 alice"}) << "the grace is over once a copy ran";
  EXPECT_EQ(look.at(1010, {session(1, "alice", 2)}), Acts{}) << "two copies are not the guard's business";
}

TEST(GuardDecisions, AFourthRestartWithinTenMinutesLogsTheSessionOffInstead) {
  Looks look;
  look.at(0, {session(1, "alice", 1)});
  for (long long kill : {10, 20, 30}) {
    EXPECT_EQ(look.at(kill, {session(1, "alice", 0)}), Acts{"restart 1 alice"});
    look.at(kill + 5, {session(1, "alice", 1)});
  }
  EXPECT_EQ(look.at(599, {session(1, "alice", 0)}), Acts{"logoff 1 alice"});
  EXPECT_EQ(look.at(658, {session(1, "alice", 0)}), Acts{}) << "a log-off takes its time";
  EXPECT_EQ(look.at(659, {session(1, "alice", 0)}), Acts{"restart 1 alice"})
      << "the first restarts are more than ten minutes old: a session that outlived its log-off is restarted";
}

TEST(GuardDecisions, RestartsOlderThanTenMinutesNoLongerCount) {
  Looks look;
  look.at(0, {session(1, "alice", 1)});
  for (long long kill : {10, 300, 600, 611}) {
    EXPECT_EQ(look.at(kill, {session(1, "alice", 0)}), Acts{"restart 1 alice"}) << kill;
    look.at(kill + 5, {session(1, "alice", 1)});
  }
  EXPECT_EQ(look.at(700, {session(1, "alice", 0)}), Acts{"logoff 1 alice"});
}

TEST(GuardDecisions, SessionsAreDecidedApartAndAccountsNotInTheTableAreLeftAlone) {
  Looks look;
  const std::vector<SessionSeen> sessions{session(1, "alice", 1), session(2, "bob", 0), session(3, "carol", 0),
                                          session(4, "", 0)};
  look.at(0, sessions);
  EXPECT_EQ(look.at(180, sessions), Acts{"restart 2 bob"});
  look.table.table.user(3).field(kAccount) = "carol";
  EXPECT_EQ(look.at(185, sessions), (Acts{"restart 2 bob", "restart 3 carol"}))
      << "an account added to the table is guarded from then on";
}

TEST(GuardDecisions, ANewLogonInAReusedSessionNumberHasItsOwnGracePeriod) {
  Looks look;
  look.at(0, {session(1, "alice", 1, 7)});
  EXPECT_EQ(look.at(100, {session(1, "bob", 0, 8)}), Acts{});
  EXPECT_EQ(look.at(200, {session(1, "alice", 0, 9)}), Acts{}) << "alice again, but a later logon";
  EXPECT_EQ(look.at(380, {session(1, "alice", 0, 9)}), Acts{"restart 1 alice"});
}

TEST(GuardDecisions, ATableThatCannotBeReadGivesNoActionAndOneMessagePerChange) {
  Looks look;
  look.at(0, {session(1, "alice", 1)});
  std::vector<std::string> messages;
  for (TableState state : {TableState::Locked, TableState::Locked, TableState::Unreadable, TableState::Unreadable,
                           TableState::Readable, TableState::Readable}) {
    look.table.state = state;
    const Decisions d = decide(look.memory, look.settings, look.table, {session(1, "alice", 0)}, 10);
    EXPECT_EQ(d.actions.empty(), state != TableState::Readable);
    messages.insert(messages.end(), d.messages.begin(), d.messages.end());
  }
  EXPECT_EQ(messages,
            (std::vector<std::string>{"Guard finds the data file locked - no session is checked until it is free",
                                      "Guard cannot read the data file - no session is checked until it can",
                                      "Guard reads the data file again"}));
}

TEST(GuardDecisions, AnAccountWithNoMinutesLeftTodayIsLoggedOffAMinuteLaterAndAgainWhileItStays) {
  Looks look;
  look.table.today = {"2026", "12", "06", "09", "05", 1, 6};
  UserRecord& alice = look.table.table.user(1);
  alice.field(kLastYear) = "2026";
  alice.field(kLastMonth) = "12";
  alice.field(kLastDay) = "06";
  alice.field(kMinutesLeft) = "0000";
  const std::vector<SessionSeen> sessions{session(1, "alice", 1), session(2, "bob", 1)};
  EXPECT_EQ(look.at(0, sessions), Acts{});
  EXPECT_EQ(look.at(59, sessions), Acts{}) << "the copy's own warnings and log-off come first";
  EXPECT_EQ(look.at(60, sessions), Acts{"logoff-no-minutes 1 alice"});
  EXPECT_EQ(look.at(100, sessions), Acts{});
  EXPECT_EQ(look.at(120, sessions), Acts{"logoff-no-minutes 1 alice"}) << "still there a minute later";

  alice.field(kLastDay) = "05";  // a new day's allowance comes with the next minute
  EXPECT_EQ(look.at(300, sessions), Acts{});
  alice.field(kLastDay) = "06";
  alice.field(kMinutesLeft) = "0003";
  EXPECT_EQ(look.at(400, sessions), Acts{});

  // Outside its allowed hours the same backstop, with its own reason.
  look.table.outsideHours = {"alice"};
  EXPECT_EQ(look.at(500, sessions), Acts{});
  EXPECT_EQ(look.at(560, sessions), Acts{"logoff-outside-hours 1 alice"});
}

// Keeping the clock: every minute of a session is charged, whatever its copies do.
struct ClockLooks : Looks {
  ClockLooks() { settings.keepsClock = true; }
  // The actions only, without the lines about logons and log-offs.
  Acts charges(long long now, const std::vector<SessionSeen>& sessions) {
    Acts acts = at(now, sessions);
    std::erase_if(acts, [](const std::string& act) { return act.find(": ") != std::string::npos; });
    return acts;
  }
};

TEST(GuardDecisions, KeepingTheClockEveryMinuteOfASessionIsChargedOnceWithOrWithoutCopies) {
  ClockLooks look;
  const std::vector<SessionSeen> twoOfAlice{session(1, "alice", 0), session(2, "alice", 3), session(3, "bob", 1)};
  EXPECT_EQ(look.charges(0, twoOfAlice), (Acts{"charge 1 alice 1", "charge 3 bob 1"}))
      << "from the first sight of the logon, no grace; two sessions of alice pay once";
  EXPECT_EQ(look.charges(55, twoOfAlice), Acts{});
  EXPECT_EQ(look.charges(60, twoOfAlice), (Acts{"charge 1 alice 1", "charge 3 bob 1"}));
  EXPECT_EQ(look.charges(180, twoOfAlice), (Acts{"restart 1 alice", "charge 1 alice 2", "charge 3 bob 2"}))
      << "a late look charges every whole minute since";

  // A logoff and a logon again within a paid minute pay nothing more; later ones pay at once.
  EXPECT_EQ(look.charges(200, {session(3, "bob", 1)}), Acts{});
  EXPECT_EQ(look.charges(230, twoOfAlice), Acts{});
  EXPECT_EQ(look.charges(240, twoOfAlice), (Acts{"charge 1 alice 1", "charge 3 bob 1"}));
  look.charges(250, {session(3, "bob", 1)});
  EXPECT_EQ(look.charges(320, {session(4, "alice", 1), session(3, "bob", 1)}), (Acts{"charge 4 alice 1", "charge 3 bob 1"}));

  // A computer asleep: the look after a long pause charges one minute, then every minute again.
  EXPECT_EQ(look.charges(5000, {session(3, "bob", 1)}), Acts{"charge 3 bob 1"});
  EXPECT_EQ(look.charges(5060, {session(3, "bob", 1)}), Acts{"charge 3 bob 1"});

  // Not keeping the clock (no protected install), the guard charges nothing.
  Looks plain;
  EXPECT_EQ(plain.at(0, twoOfAlice), Acts{});
  EXPECT_EQ(plain.at(60, twoOfAlice), Acts{});
}

TEST(GuardDecisions, KeepingTheClockTheGuardSaysWhenItSawSessionsBeginAndEnd) {
  ClockLooks look;
  EXPECT_EQ(look.at(0, {session(1, "alice", 1, 7)}),
            (Acts{"charge 1 alice 1", "alice: Guard saw a logon - User alice"}));
  EXPECT_EQ(look.at(5, {session(1, "alice", 1, 7), session(2, "carol", 0)}).back(),
            "carol: Guard saw a logon - User carol");
  const Acts later = look.at(10, {session(1, "alice", 1, 8)});
  EXPECT_EQ(std::count(later.begin(), later.end(), "alice: Guard saw a log-off - User alice"), 1) << "a new logon";
  EXPECT_EQ(std::count(later.begin(), later.end(), "alice: Guard saw a logon - User alice"), 1);
  EXPECT_EQ(std::count(later.begin(), later.end(), "carol: Guard saw a log-off - User carol"), 1);
}

TEST(GuardDecisions, AnAccountWithoutASlotIsAdmittedAndLoggedOffOrLoggedOffAndSessionZeroIsLeftAlone) {
  ClockLooks look;
  const std::vector<SessionSeen> sessions{session(0, "SYSTEM", 0), session(2, "carol", 0)};
  EXPECT_EQ(look.charges(0, sessions), Acts{"admit 2 carol"}) << "new users allowed, slots free";
  EXPECT_EQ(look.charges(30, sessions), Acts{}) << "a log-off takes its time";
  look.table.table.option(kNewUserFlag) = "1";
  EXPECT_EQ(look.charges(60, sessions), Acts{"logoff-not-in-table 2 carol"});
  look.table.table.option(kNewUserFlag) = "0";
  for (int slot = 3; slot <= kUserSlots; ++slot)
    look.table.table.user(slot).field(kAccount) = "user" + std::to_string(slot);
  EXPECT_EQ(look.charges(120, sessions), Acts{"logoff-not-in-table 2 carol"}) << "no free slot";
  EXPECT_EQ(Looks{}.at(0, sessions), Acts{}) << "without the clock, the copies meet it";
}
