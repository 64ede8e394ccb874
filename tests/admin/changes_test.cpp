// The commands that change the table: each change reaches the file and the log.
#include <gtest/gtest.h>

#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "admin/account_names.h"
#include "tests/admin/admin_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/sim_clock.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h.
#include <lmcons.h>
#endif

namespace {
const std::array<std::string, kDays> kEveryDay60{"60", "60", "60", "60", "60", "60", "60"};

std::array<std::string, kDays> allowancesOf(const UserRecord& user) {
  std::array<std::string, kDays> days;
  for (int day = 1; day <= kDays; ++day)
    days[day - 1] = user.field(kMachine + day);
  return days;
}
}  // namespace

TEST_F(AdminTool, UsersAreAddedAllowedAndRemoved) {
  seed([](UsageTable& table) { table.user(1).field(kAccount) = "bob"; });
  ASSERT_EQ(run({"add-user", "alice", "Sat=90", "Sun=45"}).status, 0);
  ASSERT_EQ(run({"add-user", "carol", "--slot", "5"}).status, 0);
  UsageTable table = stored();
  EXPECT_EQ(table.user(2).field(kAccount), "alice") << "the first free slot";
  EXPECT_EQ(allowancesOf(table.user(2)), (std::array<std::string, kDays>{"45", "10", "30", "10", "5", "10", "90"}));
  EXPECT_EQ(table.user(2).field(kMinutesLeft), "45") << "Sunday's allowance, today's";
  EXPECT_EQ(table.user(2).field(kLastDay), "") << "not counted yet";
  EXPECT_EQ(table.user(5).field(kAccount), "carol");

  ASSERT_EQ(run({"set-allowance", "alice", "all=60", "Mon=30"}).status, 0);
  ASSERT_EQ(run({"set-defaults", "Wed=0", "Sat=1440"}).status, 0);
  ASSERT_EQ(run({"allow-new-users", "no"}).status, 0);
  ASSERT_EQ(run({"remove-user", "bob"}).status, 0);
  table = stored();
  EXPECT_EQ(allowancesOf(table.user(2)), (std::array<std::string, kDays>{"60", "30", "60", "60", "60", "60", "60"}));
  EXPECT_EQ(table.user(2).field(kMinutesLeft), "45") << "a new allowance starts with the next day";
  EXPECT_EQ(table.defaultAllowances, (std::array<std::string, kDays>{"20", "10", "30", "0", "5", "10", "1440"}));
  EXPECT_EQ(table.option(kNewUserFlag), "1");
  EXPECT_EQ(table.user(1).fields, UserRecord{}.fields);
  EXPECT_TRUE(passwordOpens(table.password, "secret"));

  const std::string prefix = "06/12/2026 09:05 - parent - Admin tool - ";
  EXPECT_EQ(logLines(), (std::vector<std::string>{
                            prefix + "alice added in slot 2",
                            prefix + "carol added in slot 5",
                            prefix + "allowance of alice set for every day to 60",
                            prefix + "allowance of alice set for Mon to 30",
                            prefix + "default allowance set for Wed to 0",
                            prefix + "default allowance set for Sat to 1440",
                            prefix + "new users refused",
                            prefix + "bob removed from slot 1",
                        }));
}

// The guard matches a logon's account to the table exactly, while Windows takes a typed name in any
// letter case: a slot under another spelling would leave the account unlimited.
TEST_F(AdminTool, AddUserStoresTheAccountsOwnSpellingAndTakesANameThatIsNoAccountOnlyWhenForced) {
  r_lookUpAccount = [](const std::string& typed) {
    if (typed == "kid" || typed == "KID")
      return rt::Account{rt::AccountKind::User, "Kid"};
    if (typed == "users")
      return rt::Account{rt::AccountKind::NotUser, "Users"};
    return rt::Account{};
  };
  seed();
  ASSERT_EQ(run({"add-user", "kid", "all=30"}).status, 0);
  const std::string before = test_files::readBytes(dataPath);
  const std::vector<std::pair<std::vector<std::string>, std::string>> refusals{
      {{"add-user", "KID"}, "Kid is already in slot 1"},
      {{"add-user", "newkid"}, "there is no account \"newkid\" on this computer; --force adds"},
      {{"add-user", "users", "--force"}, "\"users\" is a group or a built-in name"},
  };
  for (const auto& [args, says] : refusals) {
    const Result result = run(args);
    EXPECT_EQ(result.status, 1) << args[1];
    EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
    EXPECT_EQ(test_files::readBytes(dataPath), before) << args[1];
  }
  ASSERT_EQ(run({"add-user", "newkid", "--force"}).status, 0);

  const UsageTable table = stored();
  EXPECT_EQ(table.user(1).field(kAccount), "Kid");
  EXPECT_EQ(table.user(1).field(kMinutesLeft), "30");
  EXPECT_EQ(table.user(2).field(kAccount), "newkid") << "an account made later, as typed";
  EXPECT_EQ(logLines(), (std::vector<std::string>{"06/12/2026 09:05 - parent - Admin tool - Kid added in slot 1",
                                                  "06/12/2026 09:05 - parent - Admin tool - newkid added in slot 2"}));
}

// The system's own lookup. Natively there are no Windows accounts. Under Wine every program runs
// as one account, which the lookup knows (Wine matches its name in its own letter case only, where
// Windows takes any); a group is no account that logs on.
TEST_F(AdminTool, AddUserAsksTheSystemWhetherTheNameIsAnAccount) {
  r_lookUpAccount = rt::lookUpAccount;
  seed();
  const std::string before = test_files::readBytes(dataPath);
  EXPECT_EQ(run({"add-user", "no-such-account-28"}).status, 1);
#ifdef _WIN32
  EXPECT_EQ(run({"add-user", "Administrators", "--force"}).status, 1);
  EXPECT_EQ(test_files::readBytes(dataPath), before);
  char own[UNLEN + 1] = {};
  DWORD size = sizeof own;
  ASSERT_TRUE(GetUserNameA(own, &size));
  ASSERT_EQ(run({"add-user", own}).status, 0);
  EXPECT_EQ(stored().user(1).field(kAccount), own);
#else
  EXPECT_EQ(test_files::readBytes(dataPath), before);
#endif
}

TEST_F(AdminTool, SetPasswordChangesOnlyThePassword) {
  seed([](UsageTable& table) { table.user(3).field(kAccount) = "alice"; });
  const Result result = run({"set-password", "--password-stdin"}, "new one\n");
  ASSERT_EQ(result.status, 0) << result.err;
  UsageTable table = stored();
  EXPECT_TRUE(isPasswordHash(table.password));
  EXPECT_TRUE(passwordOpens(table.password, "new one"));
  EXPECT_EQ(table.user(3).field(kAccount), "alice");
  EXPECT_EQ(logLines().back(), "06/12/2026 09:05 - parent - Admin tool - supervisor password changed");
}

// Today is Sunday 6 December 2026 at 09:05.
TEST_F(AdminTool, GrantAddsToTodaysMinutesAndSurvivesTheNextDayCheck) {
  seed([](UsageTable& table) {
    table.user(1).fields = {"today", "0010", "2026", "12", "06", "08", "59", "ATHLON"};
    table.user(2).fields = {"yesterday", "0003", "2026", "12", "05", "21", "00", "DAD"};
    table.user(3).fields = {"nearly full", "1430", "2026", "12", "06", "08", "00", "DAD"};
    for (int slot = 1; slot <= 3; ++slot)
      for (int day = 1; day <= kDays; ++day)
        table.user(slot).field(kMachine + day) = kEveryDay60[day - 1];
  });
  ASSERT_EQ(run({"grant", "today", "30"}).status, 0);
  ASSERT_EQ(run({"grant", "yesterday", "15"}).status, 0);
  const Result full = run({"grant", "nearly full", "30"});
  ASSERT_EQ(full.status, 0);
  EXPECT_EQ(full.out, "30 minutes granted to nearly full, 1440 left today\n");

  const UsageTable table = stored();
  EXPECT_EQ(table.user(1).field(kMinutesLeft), "40");
  EXPECT_EQ(table.user(1).field(kLastHour), "08") << "a slot counted today keeps its last use";
  // Yesterday's 3 minutes are gone: today's 60, plus the grant, counted as today's.
  EXPECT_EQ(table.user(2).fields,
            (std::array<std::string, kUserFields>{"yesterday", "75", "2026", "12", "06", "09", "05", "DAD", "60", "60",
                                                  "60", "60", "60", "60", "60"}));
  EXPECT_EQ(table.user(3).field(kMinutesLeft), "1440");
  EXPECT_EQ(logLines()[1], "06/12/2026 09:05 - parent - Admin tool - 15 minutes granted to yesterday, 75 left today");
}
