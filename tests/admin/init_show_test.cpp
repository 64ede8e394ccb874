// init, the way in to a first data file, and show, the way to read one.
#include <gtest/gtest.h>

#include "accounting/log/json_text.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "admin/table_print.h"
#include "admin/value_checks.h"
#include "tests/admin/admin_fixture.h"
#include "tests/fixtures/files.h"

TEST_F(AdminTool, InitWritesTheDefaultTableWithThePasswordFromStandardInput) {
  const Result result = run({"init", "--password-stdin", "--allow-new-users", "no"}, "s3cret w\xf6rd\r\n");
  ASSERT_EQ(result.status, 0) << result.err;

  const UsageTable table = stored();
  EXPECT_TRUE(isPasswordHash(table.password));
  EXPECT_TRUE(passwordOpens(table.password, "s3cret w\xf6rd"));
  InstallDefaults();
  EXPECT_EQ(table.defaultAllowances, vTable.defaultAllowances);
  EXPECT_EQ(table.options, (std::array<std::string, kOptions>{"1", "0", "0", "0", "0", "0", "0"}));
  for (int slot = 1; slot <= kUserSlots; ++slot)
    EXPECT_EQ(table.user(slot).fields, UserRecord{}.fields) << slot;
  EXPECT_EQ(logLines(), std::vector<std::string>{"06/12/2026 09:05 - parent - Admin tool - fresh data file written, "
                                                 "new users refused"});
  EXPECT_EQ(result.out, "fresh data file written, new users refused\n");
}

TEST_F(AdminTool, InitReplacesAnExistingFileOnlyWhenForced) {
  const std::string foreign = "not a data file\nat all\n";
  test_files::writeBytes(dataPath, foreign);
  const Result refused = run({"init", "--password-stdin"}, "secret");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("already exists"), std::string::npos) << refused.err;
  EXPECT_EQ(test_files::readBytes(dataPath), foreign);

  const Result forced = run({"init", "--password-stdin", "--force"}, "secret");
  ASSERT_EQ(forced.status, 0) << forced.err;
  EXPECT_TRUE(passwordOpens(stored().password, "secret"));
  EXPECT_EQ(stored().option(kNewUserFlag), "0") << "new users are allowed unless the command says otherwise";
  EXPECT_EQ(logLines().back(),
            "06/12/2026 09:05 - parent - Admin tool - data file replaced by a fresh one, "
            "new users allowed");
}

// A first install must never end with a password nobody chose or one everybody knows.
TEST_F(AdminTool, InitWritesNothingWithoutAGoodPassword) {
  for (const std::string& input :
       std::vector<std::string>{"", "\n", "two\nlines\n", "one\r\n\r\n", "tab\there", "five5\n", "quillsun\n",
                                std::string(kLongestPassword + 1, 'x')}) {
    const Result result = run({"init", "--password-stdin"}, input);
    EXPECT_EQ(result.status, 1) << input;
    EXPECT_FALSE(test_files::exists(dataPath)) << input;
  }
  EXPECT_EQ(run({"init"}, "secret\n").status, 1) << "no terminal to ask at, and no --password-stdin";
  EXPECT_FALSE(test_files::exists(dataPath));
  EXPECT_FALSE(test_files::exists(logPath));

  dataPath = test_files::tempPath("no such folder/data.dat");
  const Result noFolder = run({"init", "--password-stdin"}, "secret");
  EXPECT_EQ(noFolder.status, 2);
  EXPECT_NE(noFolder.err.find("cannot make"), std::string::npos) << noFolder.err;
}

namespace {
void aliceAndBob(UsageTable& table) {
  table.password = "topsecret";
  table.option(kNewUserFlag) = "1";
  UserRecord& alice = table.user(2);
  alice.fields = {"alice", "0010", "2026", "12", "06", "09", "00", "ATHLON", "60", "60", "60", "60", "60", "60", "90"};
  UserRecord& bob = table.user(5);
  bob.fields = {"b\"o\\b\xe9", "abc", "", "", "", "", "", "", "5", "", "", "", "", "", "120"};
}
}  // namespace

TEST_F(AdminTool, ShowAlignsTheTableAndNeverPrintsThePassword) {
  seed(aliceAndBob);
  const Result result = run({"show"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Data file:            " + dataPath +
                "\n"
                "Supervisor password:  set\n"
                "Allow New Users:      no\n"
                "Default allowances:   Sun 20  Mon 10  Tue 30  Wed 10  Thu 5  Fri 10  Sat 10\n"
                "\n"
                "Slot  Account  Last used         Machine  Left today  Sun  Mon  Tue  Wed  Thu  Fri  Sat\n"
                "1     (free)\n"
                "2     alice    06/12/2026 09:00  ATHLON           10   60   60   60   60   60   60   90\n"
                "3     (free)\n"
                "4     (free)\n"
                "5     b\"o\\b\xe9                                       0    5    0    0    0    0    0  120\n"
                "6     (free)\n"
                "\n"
                "Allowed hours:\n"
                "  (default):  Sun any  Mon any  Tue any  Wed any  Thu any  Fri any  Sat any\n"
                "  alice:  Sun any  Mon any  Tue any  Wed any  Thu any  Fri any  Sat any\n"
                "  b\"o\\b\xe9:  Sun any  Mon any  Tue any  Wed any  Thu any  Fri any  Sat any\n");
}

TEST_F(AdminTool, ShowJsonEscapesEveryTextAndGivesNumbersAsTheProgramReadsThem) {
  seed(aliceAndBob);
  const Result result = run({"show", "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string path = jsonString(dataPath);
  const std::string anyDay =
      R"({"Sun": "any", "Mon": "any", "Tue": "any", "Wed": "any", "Thu": "any", "Fri": "any", "Sat": "any"})";
  const std::string none = R"(, "free": true, "account": "", "minutesLeft": 0, "lastUsed": null, "machine": "", )"
                           R"("allowances": {"Sun": 0, "Mon": 0, "Tue": 0, "Wed": 0, "Thu": 0, "Fri": 0, "Sat": 0}},)";
  EXPECT_EQ(result.out,
            "{\n"
            "  \"file\": " +
                path + ",\n" +
                R"(  "password": "set",
  "allowNewUsers": false,
  "defaultAllowances": {"Sun": 20, "Mon": 10, "Tue": 30, "Wed": 10, "Thu": 5, "Fri": 10, "Sat": 10},
  "hoursDamaged": false,
  "hoursZone": null,
  "defaultHours": )" +
                anyDay + R"(,
  "hours": {"alice": )" +
                anyDay + R"(, "b\"o\\b\u00e9": )" + anyDay + R"(},
  "slots": [
    {"slot": 1)" +
                none + R"(
    {"slot": 2, "free": false, "account": "alice", "minutesLeft": 10, "lastUsed": "2026-12-06T09:00", "machine": "ATHLON", "allowances": {"Sun": 60, "Mon": 60, "Tue": 60, "Wed": 60, "Thu": 60, "Fri": 60, "Sat": 90}},
    {"slot": 3)" +
                none + R"(
    {"slot": 4)" +
                none + R"(
    {"slot": 5, "free": false, "account": "b\"o\\b\u00e9", "minutesLeft": 0, "lastUsed": null, "machine": "", "allowances": {"Sun": 5, "Mon": 0, "Tue": 0, "Wed": 0, "Thu": 0, "Fri": 0, "Sat": 120}},
    {"slot": 6)" +
                none.substr(0, none.size() - 1) + R"(
  ]
}
)");
  EXPECT_EQ(result.out.find("topsecret"), std::string::npos);
}

TEST_F(AdminTool, ShowTellsAnEmptyAndTheDefaultPasswordApart) {
  seed([](UsageTable& table) { table.password = ""; });
  EXPECT_NE(run({"show"}).out.find("Supervisor password:  not set"), std::string::npos);
  seed([](UsageTable& table) { table.password = kDefaultPassword; });
  EXPECT_NE(run({"show", "--json"}).out.find("\"password\": \"default\""), std::string::npos);
}
