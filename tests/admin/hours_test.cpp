// The tool's commands for allowed hours and requests for more time, over the hours file beside
// the data file: each change reaches the file and the log, each refusal changes nothing.
#include <gtest/gtest.h>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/hours_file.h"
#include "accounting/hours/hours_book.h"
#include "accounting/table/table_home.h"
#include "accounting/table/usage_table.h"
#include "runtime/file_faults.h"
#include "tests/admin/admin_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/sim_clock.h"

namespace {
void kidInSlot2(UsageTable& table) {
  table.user(2).fields = {"kid", "0060", "2026", "12", "06", "09", "00", "PC",
                          "60",  "60",   "60",   "60", "60", "60", "60"};
}

HoursBook storedHours() {
  HoursBook book;
  EXPECT_EQ(loadHoursFile(book).kind, HoursLoad::Loaded);
  return book;
}

// A copy of the program run by the account asks for time.
std::string askAs(const std::string& account, int minutes, const std::string& note = "") {
  const std::string runner = vSession.userName;
  vSession.userName = account;
  int number = 0;
  const std::string refusal = vHome.askForTime(minutes, note, number);
  vSession.userName = runner;
  return refusal.empty() ? std::to_string(number) : refusal;
}

const std::string kPrefix = "06/12/2026 09:05 - parent - ";
}  // namespace

TEST_F(AdminTool, HoursAreSetShownAndLogged) {
  seed(kidInSlot2);
  ASSERT_EQ(run({"set-hours", "kid", "Mon-Fri=07:00-08:00,15:00-20:30", "Sat,Sun=08:00-21:30"}).status, 0);
  ASSERT_EQ(run({"set-default-hours", "all=09:00-18:00", "Sun=none"}).status, 0);
  const HoursBook book = storedHours();
  EXPECT_EQ(dayHoursText(hoursOf(book, "kid").day(2)), "07:00-08:00,15:00-20:30");
  EXPECT_EQ(dayHoursText(hoursOf(book, "kid").day(1)), "08:00-21:30");
  EXPECT_EQ(dayHoursText(book.defaults.day(1)), "none");
  EXPECT_EQ(hoursOf(book, "newcomer"), book.defaults) << "an account without hours of its own";

  const std::string text = run({"show"}).out;
  EXPECT_NE(text.find("  kid:  Sun 08:00-21:30  Mon 07:00-08:00,15:00-20:30  Tue 07:00-08:00,15:00-20:30"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  (default):  Sun none  Mon 09:00-18:00"), std::string::npos) << text;
  EXPECT_NE(
      run({"show", "--json"}).out.find(R"("hours": {"kid": {"Sun": "08:00-21:30", "Mon": "07:00-08:00,15:00-20:30")"),
      std::string::npos);

  ASSERT_EQ(run({"set-hours", "kid", "all=any"}).status, 0);
  EXPECT_EQ(hoursOf(storedHours(), "kid"), AllowedHours{});
  const std::vector<std::string> lines = logLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], kPrefix +
                          "Admin tool - hours of kid set: Sun 08:00-21:30; Mon 07:00-08:00,15:00-20:30; Tue "
                          "07:00-08:00,15:00-20:30; Wed 07:00-08:00,15:00-20:30; Thu 07:00-08:00,15:00-20:30; "
                          "Fri 07:00-08:00,15:00-20:30; Sat 08:00-21:30");
  EXPECT_EQ(lines[1],
            kPrefix +
                "Admin tool - hours of accounts without their own set: Sun none; Mon 09:00-18:00; Tue 09:00-18:00; "
                "Wed 09:00-18:00; Thu 09:00-18:00; Fri 09:00-18:00; Sat 09:00-18:00");
}

TEST_F(AdminTool, RefusedHoursAndAnswersChangeNothing) {
  seed(kidInSlot2);
  ASSERT_EQ(run({"set-hours", "kid", "Mon=07:00-08:00"}).status, 0);
  ASSERT_EQ(askAs("kid", 30), "1");
  ASSERT_EQ(run({"refuse", "1"}).status, 0);
  const std::string hoursBytes = test_files::readBytes(hoursPath);
  const std::string dataBytes = test_files::readBytes(dataPath);
  const std::size_t logged = logLines().size();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"set-hours", "kid", "Mon=23:75-23:80"},
           {"set-hours", "kid", "Mon=10:00-09:00"},
           {"set-hours", "kid", "Mon=08:00-10:00,09:00-11:00"},
           {"set-hours", "kid", "Mon=01:00-02:00,03:00-04:00,05:00-06:00,07:00-08:00"},
           {"set-hours", "nobody", "Mon=any"},
           {"set-default-hours", "Funday=any"},
           {"approve", "1"},
           {"refuse", "1"},
           {"approve", "9"},
           {"approve", "x"},
           {"approve", "1", "0"},
           {"approve", "1", "1441"}}) {
    const Result result = run(args);
    EXPECT_EQ(result.status, 1) << args[0] << " " << args[1];
    EXPECT_NE(result.err.find("orrindale-admin: "), std::string::npos);
  }
  EXPECT_NE(run({"refuse", "12"}).err.find("request 12 is not one of today's"), std::string::npos);
  EXPECT_EQ(test_files::readBytes(hoursPath), hoursBytes);
  EXPECT_EQ(test_files::readBytes(dataPath), dataBytes);
  EXPECT_EQ(logLines().size(), logged);
}

TEST_F(AdminTool, RequestsAreListedApprovedWithinTheDayAndRefused) {
  seed(kidInSlot2);
  EXPECT_EQ(run({"requests"}).out, "No requests today\n");
  EXPECT_NE(askAs("kid", 20), "1") << "15, 30 or 60 only";
  ASSERT_EQ(askAs("kid", 30, "finish my essay"), "1") << "a refused first request leaves a sound file";
  EXPECT_EQ(askAs("kid", 15), "request 1 of kid is still waiting for an answer");
  EXPECT_EQ(run({"requests"}).out, "Request 1 - kid asks 30 minutes: finish my essay (open)\n");

  const Result approved = run({"approve", "1", "1400"});
  ASSERT_EQ(approved.status, 0) << approved.err;
  EXPECT_EQ(approved.out, "Request 1 - approved, 1400 minutes for kid\n1400 minutes granted to kid, 1440 left today\n")
      << "the day never passes 1440";
  EXPECT_EQ(stored().user(2).field(kMinutesLeft), "1440");
  EXPECT_NE(askAs("kid", 15).find("minutes"), std::string::npos) << "a pause after the answer";

  sim_clock::advance(600);
  ASSERT_EQ(askAs("kid", 60), "2");
  ASSERT_EQ(run({"refuse", "2"}).status, 0);
  EXPECT_EQ(run({"requests", "--json"}).out,
            "[\n {\"number\": 1, \"account\": \"kid\", \"minutesAsked\": 30, \"note\": \"finish my essay\", \"state\": "
            "\"approved\", \"minutesGranted\": 1400},\n {\"number\": 2, \"account\": \"kid\", \"minutesAsked\": 60, "
            "\"note\": \"\", \"state\": \"refused\", \"minutesGranted\": 0}\n]\n");
  const std::vector<std::string> lines = logLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "06/12/2026 09:05 - kid - Request 1 - kid asks 30 minutes: finish my essay");
  // The answers under the request's account, what the tool did under the tool's.
  EXPECT_EQ(lines[1], "06/12/2026 09:05 - kid - Request 1 - approved, 1400 minutes for kid");
  EXPECT_EQ(lines[2], kPrefix + "Admin tool - 1400 minutes granted to kid, 1440 left today");
  EXPECT_EQ(lines[4], "06/12/2026 09:15 - kid - Request 2 - refused, 60 minutes for kid");

  // A request of an earlier day is answered no more.
  sim_clock::advance(24 * 3600);
  ASSERT_EQ(askAs("kid", 15), "3");
  sim_clock::advance(24 * 3600);
  EXPECT_EQ(run({"approve", "3"}).status, 1);
}

TEST_F(AdminTool, AnApprovalOutsideTheHoursExtendsThemToday) {
  seed(kidInSlot2);
  // Sunday 09:05, after the morning's hours.
  ASSERT_EQ(run({"set-hours", "kid", "Sun=08:00-09:00,19:00-20:00"}).status, 0);
  ASSERT_EQ(askAs("kid", 15), "1");
  const Result approved = run({"approve", "1", "20"});
  ASSERT_EQ(approved.status, 0) << approved.err;
  EXPECT_NE(approved.out.find("hours of kid extended until 09:25 today"), std::string::npos) << approved.out;
  const HoursBook book = storedHours();
  EXPECT_EQ(extensionOf(book, "kid", 20261206), (HoursExtension{20261206, 9 * 60 + 25}));
  EXPECT_TRUE(hoursAt(hoursOf(book, "kid"), {20261206, 1, 9 * 60 + 10}, extensionOf(book, "kid", 20261206)).inside);
}

TEST_F(AdminTool, AnApprovalNeverGivesItsMinutesTwiceWhicheverFileCannotBeWritten) {
  seed(kidInSlot2);
  ASSERT_EQ(askAs("kid", 30), "1");
  const std::string asked = test_files::readBytes(hoursPath);
  // No room for the longer hours file (the table's "0060" becoming "90" needs none), then the
  // table's first write after the hours file's two: nothing is given and the request stays open.
  for (const rt::FileFaults& faults : {rt::FileFaults{.spaceLeft = 0}, rt::FileFaults{.writeCallsBeforeFailure = 2}}) {
    rt::injectFileFaults(faults);
    const Result refused = run({"approve", "1"});
    rt::injectFileFaults({});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("could not be written"), std::string::npos) << refused.err;
    EXPECT_EQ(stored().user(2).field(kMinutesLeft), "0060") << refused.err;
    EXPECT_EQ(test_files::readBytes(hoursPath), asked) << refused.err;
  }
  ASSERT_EQ(run({"approve", "1"}).status, 0);
  EXPECT_EQ(run({"approve", "1"}).status, 1) << "answered already";
  EXPECT_EQ(stored().user(2).field(kMinutesLeft), "90");
}

TEST_F(AdminTool, AnAnswerFromTheCopysWindowNeedsThePasswordThatOpensTheGate) {
  seed(kidInSlot2);
  ASSERT_EQ(askAs("kid", 30), "1");
  ASSERT_NE(LoadData(), -1) << "the copy's table as its last minute read it";
  const std::string hoursBytes = test_files::readBytes(hoursPath);
  const std::string dataBytes = test_files::readBytes(dataPath);
  std::vector<std::string> done;
  // An empty password is typed like any other: only the tool gives none.
  for (const std::string typed : {"", "Secret", "secret "})
    EXPECT_EQ(vHome.answerRequest(1, 45, typed, done).kind, SaveOutcome::WrongPassword) << '"' << typed << '"';
  EXPECT_EQ(test_files::readBytes(hoursPath), hoursBytes);
  EXPECT_EQ(test_files::readBytes(dataPath), dataBytes);
  ASSERT_EQ(vHome.answerRequest(1, 45, std::string("secret"), done).kind, SaveOutcome::Saved);
  EXPECT_EQ(done.front(), "Request 1 - approved, 45 minutes for kid");
  EXPECT_EQ(stored().user(2).field(kMinutesLeft), "105");
}
