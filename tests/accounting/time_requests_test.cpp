// A request for more time from its asking to its answer or its end at midnight, as plain data.
#include "accounting/hours/time_requests.h"

#include <gtest/gtest.h>

#include "accounting/log/log_texts.h"
#include "accounting/table/table_rules.h"

namespace {
constexpr int kToday = 20260316;
constexpr long long kNoon = 1773662400;  // 16 March 2026, 12:00

int ask(TimeRequests& list,
        const std::string& account,
        int minutes,
        const std::string& note,
        long long now,
        int day = kToday) {
  int number = 0;
  const std::string problem = askForTime(list, account, minutes, note, day, now, number);
  EXPECT_EQ(problem, "") << account;
  return number;
}
}  // namespace

TEST(TimeRequests, ARequestIsAnsweredOnceWhileOpenAndEachStepHasItsLogLine) {
  TimeRequests list;
  int number = 0;
  const int first = ask(list, "kid", 30, "finish my essay", kNoon);
  EXPECT_EQ(askedLine(*findRequest(list, first)), "Request 1 - kid asks 30 minutes: finish my essay");
  EXPECT_EQ(askForTime(list, "kid", 15, "", kToday, kNoon + 5, number),
            "request 1 of kid is still waiting for an answer");
  const int second = ask(list, "bob", 60, "", kNoon + 10);
  EXPECT_EQ(askedLine(*findRequest(list, second)), "Request 2 - bob asks 60 minutes");

  for (int minutes : {0, 1441})
    EXPECT_NE(approveRequest(list, first, minutes, kNoon + 20), "") << minutes;
  ASSERT_EQ(openRequest(list, "kid"), findRequest(list, first));
  ASSERT_EQ(approveRequest(list, first, 45, kNoon + 30), "");
  EXPECT_EQ(answerLine(*findRequest(list, first)), "Request 1 - approved, 45 minutes for kid");
  EXPECT_EQ(approveRequest(list, first, 45, kNoon + 40), "request 1 was already approved");
  EXPECT_EQ(refuseRequest(list, first, kNoon + 40), "request 1 was already approved");
  ASSERT_EQ(refuseRequest(list, second, kNoon + 40), "");
  EXPECT_EQ(answerLine(*findRequest(list, second)), "Request 2 - refused, 60 minutes for bob");
  EXPECT_EQ(refuseRequest(list, 9, kNoon + 40), "there is no request 9");
  EXPECT_EQ(openRequest(list, "kid"), nullptr);
}

TEST(TimeRequests, WhatARequestMayAskAndSayIsBounded) {
  TimeRequests list;
  int number = 0;
  EXPECT_EQ(askForTime(list, "kid", 20, "", kToday, kNoon, number), "a request asks for 15, 30 or 60 minutes");
  EXPECT_EQ(askForTime(list, "kid", 15, std::string(101, 'x'), kToday, kNoon, number),
            "the note is longer than 100 characters");
  EXPECT_NE(askForTime(list, "", 15, "", kToday, kNoon, number), "");
  EXPECT_EQ(list, TimeRequests{});
  ASSERT_EQ(ask(list, "kid", 15, "line\nbreak\tand " + std::string(85, 'x'), kNoon), 1);  // 100 characters
  EXPECT_EQ(list.requests[0].note, "line break and " + std::string(85, 'x'));
}

TEST(TimeRequests, ANewRequestWaitsTenMinutesAfterTheLastAnswerButNotAfterAnExpiry) {
  TimeRequests list;
  int number = 0;
  refuseRequest(list, ask(list, "kid", 30, "", kNoon), kNoon + 100);
  EXPECT_EQ(askForTime(list, "kid", 30, "", kToday, kNoon + 100 + 599, number),
            "kid can ask again in 1 minute: a new request waits 10 minutes after the last answer");
  EXPECT_EQ(askForTime(list, "kid", 30, "", kToday, kNoon + 100, number),
            "kid can ask again in 10 minutes: a new request waits 10 minutes after the last answer");
  EXPECT_EQ(ask(list, "kid", 30, "", kNoon + 100 + 600), 2);

  // At midnight the open request ends unanswered, and the account may ask again at once.
  const long long midnight = kNoon + 12 * 3600;
  EXPECT_TRUE(expireRequests(list, kToday, midnight - 1).empty());
  const std::vector<TimeRequest> expired = expireRequests(list, kToday + 1, midnight);
  ASSERT_EQ(expired.size(), 1u);
  EXPECT_EQ(answerLine(expired[0]), "Request 2 - expired unanswered, 30 minutes for kid");
  EXPECT_EQ(approveRequest(list, 2, 30, midnight + 1), "request 2 expired unanswered at the end of its day");
  EXPECT_EQ(ask(list, "kid", 15, "", midnight + 1, kToday + 1), 3);
}

TEST(TimeRequests, NumbersRiseWithoutReuseWhileOnlyTheNewestRequestsAreKept) {
  TimeRequests list;
  long long now = kNoon;
  ask(list, "bob", 60, "", now);  // stays open throughout
  for (int i = 0; i < 60; ++i, now += kRequestPauseSeconds)
    approveRequest(list, ask(list, "kid", 15, "", now), 15, now);
  EXPECT_EQ(list.requests.size(), kKeptRequests);
  EXPECT_EQ(list.requests.front().account, "bob") << "an open request is never dropped";
  EXPECT_EQ(list.requests[1].number, 13);
  EXPECT_EQ(list.lastNumber, 61);
  EXPECT_EQ(ask(list, "kid", 15, "", now), 62);
}

TEST(TimeRequests, TheStoredListReadsBackAndAnyDamageIsReportedWithoutChangingTheList) {
  TimeRequests list;
  ask(list, "big kid", 30, "essay: part 2 \xE9t\xE9", kNoon);
  approveRequest(list, 1, 45, kNoon + 60);
  refuseRequest(list, ask(list, "bob", 15, "", kNoon), kNoon + 60);
  ask(list, "kid", 60, "", kNoon - 86400, kToday - 1);
  expireRequests(list, kToday, kNoon + 70);
  ask(list, "kid", 15, "again", kNoon + 80);
  const std::string text = requestsStorageText(list);
  EXPECT_EQ(text.substr(0, text.find('\n', 12) + 1),
            "requests1 4\n1 626967206b6964 30 6573736179"
            "3a2070617274203220e974e9 20260316 1773662400 approved 45 "
            "1773662460\n");
  TimeRequests read;
  ASSERT_TRUE(readRequestsText(text, read));
  EXPECT_EQ(read, list);
  EXPECT_TRUE(readRequestsText("", read));
  EXPECT_EQ(read, TimeRequests{});

  const std::string kidOpen = "4 6b6964 15 " + std::string(" 20260316 1773662480 open 0 0\n");
  const std::vector<std::string> damaged{
      text.substr(0, text.size() - 1),                                   // cut short
      "requests2" + text.substr(9),                                      // another version
      "requests1 3\n" + text.substr(text.find('\n') + 1),                // a number above the last
      "requests1 4\n" + kidOpen + kidOpen,                               // numbers not rising
      "requests1 5\n" + kidOpen + "5 6b6964 15  20260316 1 open 0 0\n",  // two open for one account
      "requests1 4\n4 6B6964 15  20260316 1 open 0 0\n",                 // not as a save writes
      "requests1 4\n04 6b6964 15  20260316 1 open 0 0\n",                // nor this
      "requests1 4\n4 6b6964 20  20260316 1 open 0 0\n",                 // minutes never asked
      "requests1 4\n4 6b6964 15  20260316 1 refused 15 2\n",             // a refusal granting minutes
      "requests1 4\n4 6b6964 15  20260316 1 approved 0 2\n",             // an approval granting none
      "requests1 4\n4 6b6964 15  20260316 1 open 0 2\n",                 // open and answered
      "requests1 4\n4 6b6964 15  20260231 1 open 0 0\n",                 // no date
      "requests1 4\n4 6b6964 15 0a 20260316 1 open 0 0\n",               // a line break in the note
      "requests1 4\n4  15  20260316 1 open 0 0\n",                       // no account
      "requests1 4\n4 6b6964 15  20260316 1 pending 0 0\n",              // no state
      "requests1 4\n4 6b6964 15  20260316 1 open 0 0 0\n",               // a field too many
  };
  for (const std::string& bad : damaged) {
    EXPECT_FALSE(readRequestsText(bad, read)) << bad;
    EXPECT_EQ(read, TimeRequests{}) << bad;
  }
}

TEST(TimeRequests, ApprovedMinutesNeverTakeTheDayPast1440AndCountForToday) {
  TimeStamp today;
  today.year = "2026";
  today.month = "03";
  today.day = "16";
  today.dayNumber = 16;
  today.weekday = 2;
  UserRecord user;
  user.field(kLastYear) = "2026";
  user.field(kLastMonth) = "03";
  user.field(kLastDay) = "16";
  user.field(kMinutesLeft) = "1430";
  EXPECT_EQ(grantToday(user, 60, today), 1440);
  user.field(kMinutesLeft) = "-5";
  EXPECT_EQ(grantToday(user, 30, today), 30) << "a negative count is a spent one";
  // Last counted yesterday: today's allowance starts now, so the next minute keeps the grant.
  user.field(kLastDay) = "15";
  user.field(kMinutesLeft) = "0";
  user.allowance(today.weekday) = "60";
  EXPECT_EQ(grantToday(user, 30, today), 90);
  EXPECT_FALSE(startsNewDay(user, today));
}

TEST(TimeRequests, TheLogLinesReadBackForTheReportWhateverTheNoteSays) {
  TimeRequests list;
  ask(list, "big kid", 30, "asks 60 minutes: please", kNoon);
  RequestEvent event;
  ASSERT_TRUE(readRequestLine(askedLine(list.requests[0]), event));
  EXPECT_EQ(event, (RequestEvent{1, "big kid", RequestState::Open, 30}));
  EXPECT_TRUE(writtenByGuardOnly(askedLine(list.requests[0])));
  approveRequest(list, 1, 45, kNoon);
  ASSERT_TRUE(readRequestLine(answerLine(list.requests[0]), event));
  EXPECT_EQ(event, (RequestEvent{1, "big kid", RequestState::Approved, 45}));
  list.requests[0].state = RequestState::Expired;
  ASSERT_TRUE(readRequestLine(answerLine(list.requests[0]), event));
  EXPECT_EQ(event, (RequestEvent{1, "big kid", RequestState::Expired, 30}));
  for (const char* other : {"Request 3 - something", "Request x - kid asks 30 minutes", "Request 3 - kid asks 30",
                            "Request 3 - refused, 30 minutes for ", "Process Started - User kid"})
    EXPECT_FALSE(readRequestLine(other, event)) << other;
}
