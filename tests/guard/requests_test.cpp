// The guard's answers to requests, as plain text in and out, on the table it keeps in a temporary
// data file: whom a minute is charged to, supervisor and tool saves, admission, and requests that
// are not whole; the hours and requests for more time; and the data file and the hours file put
// back after a change from outside.
#include "guard/requests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/hours_file.h"
#include "accounting/guard_link/guard_protocol.h"
#include "accounting/log/log_report.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "guard/kept_accounts.h"
#include "runtime/file.h"
#include "runtime/file_faults.h"
#include "tests/fixtures/accounting_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/sim_clock.h"

namespace {

const Caller kAlice{"alice", false, 1};
const Caller kParent{"parent", true, 2};

class GuardRequests : public AccountingTest {
 protected:
  void SetUp() override {
    AccountingTest::SetUp();
    vSession.userName = "Guard";
    vTable.password = hashPassword("s3cret");
    for (const auto& [slot, name] : {std::pair{1, "alice"}, std::pair{2, "bob"}}) {
      UserRecord& user = vTable.user(slot);
      user.field(kAccount) = name;
      user.field(kMinutesLeft) = "0030";
      user.field(kLastYear) = "2026";
      user.field(kLastMonth) = "12";
      user.field(kLastDay) = "06";
      user.field(kLastHour) = "08";
      user.field(kLastMinute) = "00";
      for (int day = 1; day <= kDays; ++day)
        user.allowance(day) = "60";
    }
    test_files::writeBytes(dataPath, "");
    ASSERT_TRUE(RewriteDataFile());
    ASSERT_TRUE(loadKeptTable(keeper));
  }

  GuardAnswer ask(const Caller& caller, const GuardRequest& request) { return askText(caller, encodeRequest(request)); }
  GuardAnswer askText(const Caller& caller, std::string_view text) {
    GuardAnswer answer;
    EXPECT_TRUE(decodeAnswer(answerRequest(keeper, settings, caller, text), answer));
    return answer;
  }
  static GuardRequest request(GuardVerb verb, const std::string& password = "", std::vector<Cell> cells = {}) {
    GuardRequest r = guardRequest(verb);
    r.password = password;
    r.cells = std::move(cells);
    return r;
  }
  std::string minutesInFile(int slot) { return dataFileFields().at(tableField(slot, kMinutesLeft) - 1); }
  int logCount(const std::string& text) {
    const auto lines = logLines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != l.npos; }));
  }

  TableKeeper keeper;
  RequestSettings settings;
};

}  // namespace

TEST_F(GuardRequests, TheMinutesAnsweredAreTheCallersOwnAccountsAndAskingChargesNothing) {
  GuardRequest minute = request(GuardVerb::Minute);
  minute.namedAccount = "bob";
  const std::string before = test_files::readBytes(dataPath);
  const GuardAnswer answer = ask(kAlice, minute);
  ASSERT_TRUE(answer.ok());
  EXPECT_EQ(std::tuple(answer.account, answer.slot, answer.left), std::tuple(std::string("alice"), 1, 30));
  EXPECT_EQ(ask({"mallory", false, 3}, minute).refusal, Refusal::NotInTable) << "not bob's minutes either";
  EXPECT_EQ(test_files::readBytes(dataPath), before) << "only the guard's clock charges";

  settings.believeNamedAccounts = true;  // the test option
  EXPECT_EQ(ask(kAlice, minute).account, "bob");
  vTable.user(2).field(kLastDay) = "05";
  EXPECT_EQ(ask(kAlice, minute).left, 60) << "a new day's allowance is due with the next charged minute";
}

TEST_F(GuardRequests, ASupervisorSaveNeedsTheTypedPasswordAndChangesOnlyTheCellsItCarries) {
  const std::string before = test_files::readBytes(dataPath);
  const std::vector<Cell> grant{{tableField(1, kMinutesLeft), "600"}};
  for (const std::string& typed : {std::string(""), std::string("S3cret"), hashPassword("s3cret")}) {
    EXPECT_EQ(ask(kAlice, request(GuardVerb::Save, typed, grant)).refusal, Refusal::WrongPassword) << typed;
    EXPECT_EQ(ask(kAlice, request(GuardVerb::Check, typed)).refusal, Refusal::WrongPassword) << typed;
  }
  EXPECT_EQ(test_files::readBytes(dataPath), before);
  EXPECT_EQ(logCount(" - alice - Administration window - changes refused: wrong password"), 3);
  // Five wrong ones in a minute: the gate takes no password from the session until it is over.
  EXPECT_EQ(ask(kAlice, request(GuardVerb::Check, "s3cret")).refusal, Refusal::WrongPassword);
  EXPECT_EQ(logCount(" - alice - Password window - 5 wrong passwords: every password refused for 1 minute"), 1);
  sim_clock::advance(60);

  // The window was read when bob had 30 minutes; a minute charged since stays charged.
  ASSERT_TRUE(chargeAccount(keeper, "bob", 1));
  EXPECT_TRUE(ask(kAlice, request(GuardVerb::Check, "s3cret")).ok());
  ASSERT_TRUE(ask(kAlice, request(GuardVerb::Save, "s3cret", {{tableField(1, kMinutesLeft), "45"}, {2, "25"}})).ok());
  EXPECT_EQ(minutesInFile(1), "45");
  EXPECT_EQ(minutesInFile(2), "0029");
  EXPECT_EQ(dataFileFields().at(1), "25");
  EXPECT_EQ(logCount(" - alice - Administration window - Default Sun = 25, User 1 Time = 45"), 1);

  // The password change is a cell of line 1, kept as a hash.
  ASSERT_TRUE(ask(kAlice, request(GuardVerb::Save, "s3cret", {{1, "n3w one"}})).ok());
  EXPECT_TRUE(passwordOpens(dataFileFields().at(0), "n3w one"));
  EXPECT_EQ(ask(kAlice, request(GuardVerb::Check, "s3cret")).refusal, Refusal::WrongPassword);
}

TEST_F(GuardRequests, TheToolsChangesAreTakenOnlyFromAnAdministratorAndLoggedUnderItsAccount) {
  GuardRequest grant = request(GuardVerb::Tool, "", {{tableField(1, kMinutesLeft), "400"}});
  grant.lines = {"400 minutes granted to alice"};
  grant.namedAccount = "parent";  // what a USERNAME may say
  const std::string before = test_files::readBytes(dataPath);
  EXPECT_EQ(ask(kAlice, grant).refusal, Refusal::NotAdministrator);
  EXPECT_EQ(test_files::readBytes(dataPath), before);
  EXPECT_EQ(logCount(" - alice - Admin tool - changes refused: not an administrator"), 1);

  ASSERT_TRUE(ask(kParent, grant).ok());
  EXPECT_EQ(minutesInFile(1), "400");
  EXPECT_EQ(logCount(" - parent - Admin tool - 400 minutes granted to alice"), 1);
}

TEST_F(GuardRequests, RequestsThatAreNotWholeOrTooLargeAreRefusedAndChangeNothing) {
  const std::string whole = encodeRequest(request(GuardVerb::Save, "s3cret", {{tableField(1, kMinutesLeft), "999"}}));
  std::vector<std::string> bad{"",
                               "garbage\n",
                               "orrindale-guard 1\n",
                               "orrindale-guard 1\nverb minute",
                               "orrindale-guard 1\nverb fly\n",
                               "orrindale-guard 1\nverb read\nverb minute\n",
                               "orrindale-guard 1\nverb save\ncell 106 3939\n",
                               "orrindale-guard 1\nverb save\ncell 2 3g\n",
                               "orrindale-guard 1\nverb log\nline " + std::string(2 * kMostValueBytes + 2, 'a') + "\n",
                               whole + std::string(kMostMessageBytes, 'x')};
  for (std::size_t cut = 1; cut < whole.size(); cut += 7)
    bad.push_back(whole.substr(0, cut));
  const std::string before = test_files::readBytes(dataPath);
  for (const std::string& text : bad)
    EXPECT_EQ(askText(kAlice, text).refusal, Refusal::Malformed) << text.substr(0, 80);
  EXPECT_EQ(test_files::readBytes(dataPath), before);
  EXPECT_TRUE(ask(kAlice, request(GuardVerb::Read)).ok()) << "the guard goes on answering";
  // One line at the first, one with the count when the session's minute is over.
  EXPECT_EQ(logCount(" - alice - Guard refused a request that was not whole"), 1);
  sim_clock::advance(60);
  settleSessionWrites(keeper, sim_clock::now());
  EXPECT_EQ(logCount(" - alice - Guard refused " + std::to_string(bad.size() - 1) +
                     " more requests of one session within a minute"),
            1);
}

TEST_F(GuardRequests, AnAccountIsAdmittedOnlyWhenNewUsersAreAllowedAndASlotIsFree) {
  const Caller carol{"carol", false, 5};
  vTable.option(kNewUserFlag) = "1";
  ASSERT_TRUE(saveKeptTable(keeper));
  EXPECT_EQ(ask(carol, request(GuardVerb::Admit)).refusal, Refusal::NewUsersRefused);

  vTable.option(kNewUserFlag) = "0";
  ASSERT_TRUE(saveKeptTable(keeper));
  const GuardAnswer admitted = ask(carol, request(GuardVerb::Admit));
  ASSERT_TRUE(admitted.ok());
  EXPECT_EQ(admitted.slot, 3);
  EXPECT_EQ(dataFileFields().at(tableField(3, kAccount) - 1), "carol");
  EXPECT_EQ(logCount(" - carol - Found one - 03"), 1);
  EXPECT_EQ(ask(carol, request(GuardVerb::Admit)).slot, 3) << "admitted once";

  for (int slot = 4; slot <= kUserSlots; ++slot)
    vTable.user(slot).field(kAccount) = "user" + std::to_string(slot);
  ASSERT_TRUE(saveKeptTable(keeper));
  EXPECT_EQ(ask({"dave", false, 6}, request(GuardVerb::Admit)).refusal, Refusal::NoFreeSlot);
}

TEST_F(GuardRequests, ADataFileChangedCopiedBackOrDeletedIsWrittenAgainAtTheNextLookAndLogged) {
  const std::vector<std::string> kept = dataFileFields();
  std::vector<std::string> raised = kept;
  raised.at(tableField(1, kMinutesLeft) - 1) = "0500";
  for (const bool deleted : {false, true}) {
    if (deleted)
      test_files::remove(dataPath);
    else
      writeDataFile(raised);
    lookAtDataFile(keeper);
    EXPECT_EQ(dataFileFields(), kept) << deleted;
    lookAtDataFile(keeper);  // nothing more to put back
  }
  EXPECT_EQ(logCount(" - Guard - **** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****"), 2);
  const LogReport report = buildLogReport(test_files::readBytes(logPath), std::chrono::year_month_day{}, 0);
  ASSERT_EQ(report.rows.size(), 1u);
  EXPECT_EQ(report.rows[0].filesRestored, 2);
}

TEST_F(GuardRequests, LineBreaksSentInRequestsNeverWriteALineOfAnotherAccountNorUnsettleTheFile) {
  GuardRequest line = request(GuardVerb::Log);
  line.lines = {"Process Ended - User alice\n06/12/2026 09:06 - bob - Process Ended - User bob"};
  ASSERT_TRUE(ask(kAlice, line).ok());
  ASSERT_TRUE(ask(kAlice, request(GuardVerb::Save, "s3cret", {{tableField(2, kMachine + 1), "5\n- bob - x"}})).ok());
  const std::vector<std::string> lines = logLines();
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& logged : lines)
    EXPECT_EQ(logged.substr(16, 9), " - alice ") << logged;
  EXPECT_EQ(dataFileFields().at(tableField(2, kMachine + 1) - 1), "5 - bob - x");
  lookAtDataFile(keeper);
  EXPECT_EQ(logCount("restored"), 0) << "what was kept is what the file holds";
}

TEST_F(GuardRequests, TheGuardsChargeFollowsTheDaysAndTheClockAndSaysWhenTheLastMinuteIsGone) {
  ASSERT_TRUE(chargeAccount(keeper, "alice", 28));
  EXPECT_EQ(minutesInFile(1), "0002");
  vTable.user(1).field(kLastDay) = "05";  // yesterday's record: the next minute brings today's 60
  ASSERT_TRUE(saveKeptTable(keeper));
  ASSERT_TRUE(chargeAccount(keeper, "alice", 1));
  EXPECT_EQ(minutesInFile(1), "60");
  vTable.user(1).field(kLastDay) = "07";  // a clock moved back: counted on, logged once
  vTable.user(1).field(kMinutesLeft) = "0002";
  ASSERT_TRUE(saveKeptTable(keeper));
  ASSERT_TRUE(chargeAccount(keeper, "alice", 1));
  ASSERT_TRUE(chargeAccount(keeper, "alice", 1));
  ASSERT_TRUE(chargeAccount(keeper, "alice", 1));
  EXPECT_EQ(minutesInFile(1), "0000");
  EXPECT_FALSE(chargeAccount(keeper, "mallory", 1));
  EXPECT_EQ(logLines(), (std::vector<std::string>{
                            "06/12/2026 09:05 - alice - New day allowance",
                            "06/12/2026 09:05 - alice - **** CLOCK MOVED BACK from 07/12/2026 09:05 ****",
                            "06/12/2026 09:05 - alice - Guard charged the last minute - User alice"}));
}

TEST_F(GuardRequests, WrongPasswordsLockTheAccountForLongerEachTimeUntilARightOneOrANewDay) {
  const auto wrongTimes = [&](const Caller& caller, int times) {
    for (int i = 0; i < times; ++i)
      ask(caller, request(GuardVerb::Check, "guess" + std::to_string(i)));
  };
  wrongTimes(kAlice, 4);
  sim_clock::advance(61);
  wrongTimes(kAlice, 4);
  EXPECT_EQ(ask(kAlice, request(GuardVerb::Check, "s3cret")).refusal, Refusal::None) << "4 a minute lock nothing";
  std::vector<long long> locks;
  for (int lock = 0; lock < 2; ++lock) {
    wrongTimes({"alice", false, static_cast<unsigned>(lock)}, 5);  // from any session of the account
    const long long lockedAt = sim_clock::now();
    while (ask(kAlice, request(GuardVerb::Check, "s3cret")).refusal == Refusal::WrongPassword)
      sim_clock::advance(30);
    locks.push_back((sim_clock::now() - lockedAt) / 60);
    ask(kAlice, request(GuardVerb::Check, "wrong again"));  // the right one above reset the count
    ask(kAlice, request(GuardVerb::Check, "s3cret"));
  }
  EXPECT_EQ(locks, (std::vector<long long>{1, 1})) << "a right password starts afresh";

  // Each further five double the lock, up to the longest (an hour; shorter here, for fewer hashes).
  settings.longestLockSeconds = 480;
  wrongTimes(kAlice, 5);
  EXPECT_EQ(ask(kParent, request(GuardVerb::Check, "s3cret")).refusal, Refusal::None) << "another account is not locked";
  for (int lock = 1; lock <= 4; ++lock) {
    sim_clock::advance(60LL << (lock - 1));
    wrongTimes(kAlice, 5);
  }
  for (const char* lock : {"10 wrong passwords: every password refused for 2 minutes",
                           "15 wrong passwords: every password refused for 4 minutes",
                           "20 wrong passwords: every password refused for 8 minutes",
                           "25 wrong passwords: every password refused for 8 minutes"})
    EXPECT_EQ(logCount(lock), 1) << lock;
  sim_clock::advance(86400);  // a new day forgets the lock
  EXPECT_EQ(ask(kAlice, request(GuardVerb::Check, "s3cret")).refusal, Refusal::None);
}

TEST_F(GuardRequests, OneSessionsLogLinesAreBoundedPerMinuteAndTheDroppedOnesCounted) {
  GuardRequest flood = request(GuardVerb::Log);
  flood.lines.assign(kMostLogLines, "spam");
  for (int i = 0; i < 10; ++i)
    ask(kAlice, flood);
  ask({"bob", false, 4}, flood);  // another session has its own share
  EXPECT_EQ(logCount(" - alice - spam"), settings.mostLogLines);
  EXPECT_EQ(logCount(" - bob - spam"), static_cast<int>(kMostLogLines));
  sim_clock::advance(60);
  ask(kAlice, flood);
  EXPECT_EQ(logCount(" - alice - Guard dropped " + std::to_string(10 * kMostLogLines - settings.mostLogLines) +
                     " log lines of one session over its limit of a minute"),
            1);
  EXPECT_EQ(logCount(" - alice - spam"), settings.mostLogLines + static_cast<int>(kMostLogLines));
}

TEST_F(GuardRequests, ACopyCannotLogWhatOnlyTheGuardWritesNorRunLinesOfAnotherAccount) {
  for (const char* forged : {"Guard logged off bob - no minutes left", "Guard restarted Orrindale - User bob",
                             "**** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****", "Admin tool - x",
                             "Request 1 - approved, 60 minutes for alice"}) {
    GuardRequest line = request(GuardVerb::Log);
    line.lines = {forged};
    EXPECT_EQ(ask(kAlice, line).refusal, Refusal::Malformed) << forged;
  }
  EXPECT_EQ(ask({"", false, 9}, request(GuardVerb::Log)).refusal, Refusal::Malformed) << "a caller without an account";
  GuardRequest ended = request(GuardVerb::Log);
  ended.lines = {"Process Started - User bob", "Process Ended - User bob", "**** INVALID USER bob ****"};
  ASSERT_TRUE(ask(kAlice, ended).ok());
  const LogReport report = buildLogReport(test_files::readBytes(logPath), std::chrono::year_month_day{}, 0);
  EXPECT_TRUE(report.rows.empty()) << "counted for nobody: the lines name bob under alice";
}

TEST_F(GuardRequests, ADataFileHeldLockedRefusesTheChargeWithoutWaitingAndLosesNothing) {
  const long long start = sim_clock::now();
  {
    rt::TextFile holder(dataPath, rt::OpenMode::Read);
    ASSERT_TRUE(holder.tryLockExclusive());
    EXPECT_FALSE(chargeAccount(keeper, "alice", 1));
  }
  EXPECT_EQ(sim_clock::now(), start) << "the guard never waits for a lock";
  EXPECT_EQ(ask(kAlice, request(GuardVerb::Minute)).left, 30) << "the refused minute was not kept";
  ASSERT_TRUE(chargeAccount(keeper, "alice", 1));
  EXPECT_EQ(minutesInFile(1), "0029");
}

TEST_F(GuardRequests, HoursAreSetAndRequestsAnsweredByAnAdministratorOnlyAndAskedForTheTokensAccount) {
  ASSERT_TRUE(loadKeptHours(keeper));
  EXPECT_FALSE(test_files::exists(hoursPath)) << "no hours set, no file";
  GuardRequest setHours = request(GuardVerb::SetHours);
  setHours.target = "alice";
  setHours.hours = "hours1 Sun=08:00-09:00 Mon=any Tue=any Wed=any Thu=any Fri=any Sat=any";
  setHours.lines = {"hours of alice set: Sun 08:00-09:00; ..."};
  GuardRequest answer = request(GuardVerb::Answer);
  answer.number = 1;
  answer.minutes = 45;
  EXPECT_EQ(ask(kAlice, setHours).refusal, Refusal::NotAdministrator);
  EXPECT_EQ(ask(kAlice, answer).refusal, Refusal::NotAdministrator);
  GuardRequest badHours = setHours;
  badHours.hours = "hours1 Sun=09:00-08:00";
  EXPECT_EQ(ask(kParent, badHours).refusal, Refusal::Malformed);
  badHours = setHours;
  badHours.target = "nobody";
  EXPECT_EQ(ask(kParent, badHours).why, "there is no account \"nobody\" in the table");
  EXPECT_FALSE(test_files::exists(hoursPath));

  ASSERT_TRUE(ask(kParent, setHours).ok());
  EXPECT_EQ(logCount(" - parent - Admin tool - hours of alice set: Sun 08:00-09:00; ..."), 1);
  const GuardAnswer read = ask(kAlice, request(GuardVerb::Hours));
  ASSERT_TRUE(read.ok());
  EXPECT_NE(std::find(read.lines.begin(), read.lines.end(), "616c696365 " + setHours.hours), read.lines.end());

  // A request names no account of its own: it is the token's, whatever the sender says.
  GuardRequest more = request(GuardVerb::Ask);
  more.minutes = 30;
  more.note = "essay";
  more.namedAccount = "bob";
  EXPECT_EQ(ask(kAlice, more).number, 1);
  EXPECT_EQ(ask(kAlice, more).why, "request 1 of alice is still waiting for an answer");
  EXPECT_EQ(logCount(" - alice - Request 1 - alice asks 30 minutes: essay"), 1);

  const GuardAnswer approved = ask(kParent, answer);
  ASSERT_TRUE(approved.ok()) << approved.why;
  EXPECT_EQ(approved.lines, (std::vector<std::string>{"Request 1 - approved, 45 minutes for alice",
                                                      "45 minutes granted to alice, 75 left today",
                                                      "hours of alice extended until 09:50 today"}));
  EXPECT_EQ(minutesInFile(1), "75");
  EXPECT_EQ(ask(kParent, answer).refusal, Refusal::RequestRefused) << "answered already";
  EXPECT_EQ(logCount(" - alice - Request 1 - approved, 45 minutes for alice"), 1) << "under the request's account";
  // A copy cannot write the lines only the guard writes.
  GuardRequest forged = request(GuardVerb::Log);
  forged.lines = {"**** HOURS FILE CHANGED OUTSIDE ORRINDALE - restored ****"};
  EXPECT_FALSE(ask(kAlice, forged).ok());
}

TEST_F(GuardRequests, AnHoursFileChangedOrDeletedIsWrittenAgainAtTheNextLookAndLogged) {
  ASSERT_TRUE(loadKeptHours(keeper));
  HoursBook book = keeper.hours;
  book.accounts["alice"].day(1).periods = {{8 * 60, 9 * 60}};
  ASSERT_TRUE(saveKeptHours(keeper, book));
  const std::string kept = test_files::readBytes(hoursPath);
  for (const bool deleted : {false, true}) {
    if (deleted)
      test_files::remove(hoursPath);
    else
      test_files::writeBytes(hoursPath, hoursBookText(HoursBook{}));
    lookAtHoursFile(keeper);
    EXPECT_EQ(test_files::readBytes(hoursPath), kept) << deleted;
    lookAtHoursFile(keeper);  // nothing more to put back
  }
  EXPECT_EQ(logCount(" - Guard - **** HOURS FILE CHANGED OUTSIDE ORRINDALE - restored ****"), 2);
}

TEST_F(GuardRequests, AnApprovalNeverGivesItsMinutesTwiceWhicheverFileCannotBeWritten) {
  ASSERT_TRUE(loadKeptHours(keeper));
  GuardRequest more = request(GuardVerb::Ask);
  more.minutes = 30;
  ASSERT_EQ(ask(kAlice, more).number, 1);
  GuardRequest approve = request(GuardVerb::Answer);
  approve.number = 1;
  approve.minutes = 45;
  const std::string asked = test_files::readBytes(hoursPath);
  // The hours file, then the data file, held by another program: nothing is given, the request
  // stays open.
  for (const std::string& held : {hoursPath, dataPath}) {
    rt::TextFile holder(held, rt::OpenMode::Read);
    ASSERT_TRUE(holder.tryLockExclusive());
    EXPECT_EQ(ask(kParent, approve).refusal, Refusal::NotSaved) << held;
    EXPECT_EQ(minutesInFile(1), "0030") << held;
    EXPECT_EQ(test_files::readBytes(hoursPath), asked) << held;
    EXPECT_EQ(keeper.hours.requests.requests.at(0).state, RequestState::Open) << held;
  }
  // The data file held, and the hours file not put back (its first write after the answer's two
  // fails): the request stays answered without its minutes, and the supervisor is told.
  GuardAnswer answered;
  {
    rt::TextFile holder(dataPath, rt::OpenMode::Read);
    ASSERT_TRUE(holder.tryLockExclusive());
    rt::injectFileFaults({.writeCallsBeforeFailure = 2});
    answered = ask(kParent, approve);
  }
  EXPECT_EQ(answered.refusal, Refusal::NotSaved);
  EXPECT_NE(answered.why.find("its 45 minutes could not be given to alice: grant them by hand (orrindale-admin grant "
                              "\"alice\" 45)"),
            std::string::npos)
      << answered.why;
  EXPECT_EQ(ask(kParent, approve).why, "request 1 was already approved");
  EXPECT_EQ(minutesInFile(1), "0030");
  EXPECT_EQ(logCount(" - alice - Request 1 - approved, 45 minutes for alice"), 1);
  EXPECT_EQ(logCount(" - parent - Admin tool - request 1 is approved, but its 45 minutes could not be given"), 1);
  EXPECT_EQ(logCount("minutes granted"), 0);
}

TEST_F(GuardRequests, TheRoundEndsTheEarlierDaysRequestsUnansweredUnderTheirAccount) {
  ASSERT_TRUE(loadKeptHours(keeper));
  GuardRequest more = request(GuardVerb::Ask);
  more.minutes = 30;
  ASSERT_EQ(ask(kAlice, more).number, 1);
  expireEarlierRequests(keeper, sim_clock::now());
  sim_clock::advance(24 * 3600 - (9 * 3600 + 5 * 60) + 5);  // 00:00:05 the next day
  {
    rt::TextFile holder(hoursPath, rt::OpenMode::Read);
    ASSERT_TRUE(holder.tryLockExclusive());
    expireEarlierRequests(keeper, sim_clock::now());  // tried again at the next round
  }
  EXPECT_EQ(logCount("expired"), 0);
  expireEarlierRequests(keeper, sim_clock::now());
  expireEarlierRequests(keeper, sim_clock::now());
  EXPECT_EQ(logLines().back(), "07/12/2026 00:00 - alice - Request 1 - expired unanswered, 30 minutes for alice");
  EXPECT_EQ(logCount("expired"), 1);
  HoursBook stored;
  ASSERT_EQ(loadHoursFile(stored).kind, HoursLoad::Loaded);
  EXPECT_EQ(stored.requests.requests.at(0).state, RequestState::Expired);
}

TEST_F(GuardRequests, ADamagedHoursFileIsKeptDamagedAndEveryAccountOutsideItsHours) {
  test_files::writeBytes(hoursPath, "orrindale-hours 1\ngarbage\n");
  const std::string damaged = test_files::readBytes(hoursPath);
  lookAtHoursFile(keeper);
  lookAtHoursFile(keeper);
  const GuardAnswer read = ask(kAlice, request(GuardVerb::Hours));
  EXPECT_TRUE(read.hoursDamaged);
  EXPECT_TRUE(keeper.hours.damaged);
  GuardRequest more = request(GuardVerb::Ask);
  more.minutes = 30;
  EXPECT_EQ(ask(kAlice, more).refusal, Refusal::RequestRefused) << "a request would write the file sound";
  EXPECT_EQ(test_files::readBytes(hoursPath), damaged) << "not written over as a sound file";
  EXPECT_EQ(logCount("**** HOURS FILE DAMAGED"), 1);
}

TEST_F(GuardRequests, TheAnswerWindowAnswersForAnyAccountWithThePasswordAndCountsTowardsTheGatesLock) {
  ASSERT_TRUE(loadKeptHours(keeper));
  GuardRequest more = request(GuardVerb::Ask);
  more.minutes = 30;
  ASSERT_EQ(ask(kAlice, more).number, 1);
  GuardRequest answer = request(GuardVerb::Answer, "S3cret");
  answer.passwordGiven = true;
  answer.number = 1;
  answer.minutes = 45;
  const std::string dataBefore = test_files::readBytes(dataPath);
  const std::string hoursBefore = test_files::readBytes(hoursPath);
  EXPECT_EQ(ask(kParent, answer).refusal, Refusal::WrongPassword)
      << "a password given is checked, an administrator's too";
  for (int guess = 0; guess < 4; ++guess)
    EXPECT_EQ(ask(kAlice, answer).refusal, Refusal::WrongPassword);
  EXPECT_EQ(logCount(" - alice - Answer window - answer refused: wrong password"), 4);
  EXPECT_EQ(ask(kAlice, request(GuardVerb::Check, "wrong")).refusal, Refusal::WrongPassword);
  EXPECT_EQ(logCount(" - alice - Password window - 5 wrong passwords: every password refused for 1 minute"), 1);
  answer.password = "s3cret";
  EXPECT_EQ(ask(kAlice, answer).refusal, Refusal::WrongPassword) << "locked out, as at the gate";
  EXPECT_EQ(test_files::readBytes(dataPath), dataBefore);
  EXPECT_EQ(test_files::readBytes(hoursPath), hoursBefore);

  sim_clock::advance(60);
  const GuardAnswer approved = ask(kAlice, answer);
  ASSERT_TRUE(approved.ok()) << approved.why;
  EXPECT_EQ(approved.lines.front(), "Request 1 - approved, 45 minutes for alice");
  EXPECT_EQ(minutesInFile(1), "75");
}
