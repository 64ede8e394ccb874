// Bad input and file trouble: a clear message, the right exit status, and a data file that
// is left byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "admin/admin.h"
#include "runtime/file.h"
#include "tests/admin/admin_fixture.h"
#include "tests/fixtures/files.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace {
struct Refusal {
  std::vector<std::string> args;
  std::string input;
  std::string says;
};

void fullTable(UsageTable& table) {
  for (int slot = 1; slot <= kUserSlots; ++slot)
    table.user(slot).field(kAccount) = "user" + std::to_string(slot);
}
}  // namespace

TEST_F(AdminTool, BadInputIsRefusedWithStatusOneAndChangesNothing) {
  const std::vector<Refusal> refusals{
      {{}, "", "no command given"},
      {{"frobnicate"}, "", "unknown command \"frobnicate\""},
      {{"show", "--colour"}, "", "unknown option --colour for show"},
      {{"grant", "user1"}, "", "grant needs more operands"},
      {{"remove-user", "user1", "user2"}, "", "too many operands for remove-user"},
      {{"add-user", "--slot"}, "", "--slot needs a value (N)"},
      {{"grant", "nobody", "5"}, "", "there is no account \"nobody\" in the table"},
      {{"remove-user", "User1"}, "", "there is no account \"User1\""},
      {{"set-allowance", "nobody", "Mon=5"}, "", "no account \"nobody\""},
      {{"add-user", "newcomer"}, "", "all 6 slots are taken"},
      {{"add-user", "user4"}, "", "user4 is already in slot 4"},
      {{"add-user", "a\tb"}, "", "control character"},
      {{"add-user", "abcdefghijklmnopqrstu"}, "", "longer than 20 characters"},
      {{"add-user", ""}, "", "cannot be empty"},
      {{"add-user", "x", "--slot", "7"}, "", "\"7\" is not a slot number from 1 to 6"},
      {{"set-allowance", "user1", "Funday=5"}, "", "\"Funday\" is not a day"},
      {{"set-allowance", "user1", "Mon"}, "", "is not DAY=MINUTES"},
      {{"set-defaults", "Mon=1441"}, "", "\"1441\" is not a number of minutes from 0 to 1440"},
      {{"set-defaults", "Mon=-1"}, "", "\"-1\" is not a number of minutes"},
      {{"set-defaults", "Mon=1e3"}, "", "\"1e3\" is not a number of minutes"},
      {{"set-defaults", "Sun=5", "Mon="}, "", "\"\" is not a number of minutes"},
      {{"grant", "user1", "ten"}, "", "\"ten\" is not a number of minutes"},
      {{"allow-new-users", "maybe"}, "", "\"maybe\" is not yes or no"},
      {{"set-password", "--password-stdin"}, "one\ntwo\n", "the password holds a line break"},
      {{"set-password", "--password-stdin"}, "", "the password is empty"},
      {{"set-password", "--password-stdin"}, "five5\n", "the password is shorter than 6 characters"},
      {{"set-password", "--password-stdin"}, "$pbkdf2-sha256$1$00$00\n", "looks like a stored hash"},
      {{"set-password"}, "typed\n", "standard input is not a terminal"},
  };
  seed(fullTable);
  const std::string before = test_files::readBytes(dataPath);
  for (const Refusal& refusal : refusals) {
    const Result result = run(refusal.args, refusal.input);
    const std::string line =
        refusal.args.empty() ? "" : refusal.args[0] + " " + (refusal.args.size() > 1 ? refusal.args[1] : "");
    EXPECT_EQ(result.status, 1) << line;
    EXPECT_NE(result.err.find(refusal.says), std::string::npos) << line << ": " << result.err;
    EXPECT_EQ(result.out, "") << line;
    EXPECT_EQ(test_files::readBytes(dataPath), before) << line;
  }
  EXPECT_FALSE(test_files::exists(logPath)) << "nothing changed, so nothing is logged";
}

TEST_F(AdminTool, AMissingOrDamagedFileIsReportedWithStatusTwoAndLeftAsItIs) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"show"}, {"allow-new-users", "no"}}) {
    const Result missing = run(args);
    EXPECT_EQ(missing.status, 2) << args[0];
    EXPECT_NE(missing.err.find("it is missing or not readable"), std::string::npos) << missing.err;
    EXPECT_FALSE(test_files::exists(dataPath));
  }

  writeDataFile(std::vector<std::string>(kTableFields - 1, "0"));
  const std::string cut = test_files::readBytes(dataPath);
  for (const auto& args : std::vector<std::vector<std::string>>{{"show", "--json"}, {"set-defaults", "all=5"}}) {
    const Result damaged = run(args);
    EXPECT_EQ(damaged.status, 2) << args[0];
    EXPECT_NE(damaged.err.find("is not a whole data file; it was left as it is"), std::string::npos) << damaged.err;
    EXPECT_EQ(damaged.out, "");
    EXPECT_EQ(test_files::readBytes(dataPath), cut);
  }
}

TEST_F(AdminTool, ALockHeldForOverAMinuteEndsTheToolWithStatusTwo) {
  // Written as bytes, not saved: a death test's child on Windows runs the test again from the
  // start, while this process holds the lock.
  writeDataFile(std::vector<std::string>(kTableFields, "x"));
  const std::string before = test_files::readBytes(dataPath);
  // Held through a second open of the file, before the death test's child (which on Windows
  // runs this test again and then finds the lock taken: it goes on all the same).
  rt::TextFile holder(dataPath, rt::OpenMode::Read);
  const bool held = holder.tryLockExclusive();
  const auto grantReportingOnStandardError = [this] {
    TextReader in("");
    TextWriter out;
    TextWriter err(stderr);
    Console console{in, out, err, false};
    return runAdmin({"grant", "x", "5", "--file", dataPath, "--log", logPath}, console);
  };
  EXPECT_EXIT(std::exit(grantReportingOnStandardError()), testing::ExitedWithCode(2),
              "stayed locked by another program for over a minute; nothing was changed");
  ASSERT_TRUE(held);
  EXPECT_EQ(test_files::readBytes(dataPath), before);
  const auto lines = logLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "06/12/2026 09:06 - parent - Error - file lock failed");
}

#ifndef _WIN32
// The process may not write past the first 2000 bytes of any file, so the save of a larger
// table fails.
TEST_F(AdminTool, AFailedSaveIsReportedWithStatusTwo) {
  seed([](UsageTable& table) { table.option(7) = std::string(4000, 'x'); });
  const auto saveWithFilesCutShort = [this] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{2000, 2000};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Result result = run({"allow-new-users", "no"});
    std::fputs(result.err.c_str(), stderr);
    return result.status;
  };
  EXPECT_EXIT(std::exit(saveWithFilesCutShort()), testing::ExitedWithCode(2), "could not be written");
}
#endif

TEST_F(AdminTool, RepairShowsWhatADamagedFileHoldsAndWritesItBackOnlyWhenTold) {
  seed([](UsageTable& table) {
    table.user(1).field(kAccount) = "alice";
    table.user(6).field(kAccount) = "frank";
  });
  const std::string whole = test_files::readBytes(dataPath);
  EXPECT_EQ(run({"repair"}).out, dataPath + " is a whole data file; there is nothing to repair\n");

  // Cut inside slot 2: the password, defaults, options and slot 1 can still be read.
  std::size_t cut = 0;
  for (int line = 0; line < 20; ++line)
    cut = whole.find('\n', cut) + 1;
  const std::string damaged = whole.substr(0, cut);
  test_files::writeBytes(dataPath, damaged);
  const Result shown = run({"repair"});
  EXPECT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.out.find("20 of 105 fields"), std::string::npos) << shown.out;
  EXPECT_EQ(test_files::readBytes(dataPath), damaged);
  EXPECT_EQ(run({"grant", "alice", "5"}).status, 2) << "other commands still refuse the file";

  const Result repaired = run({"repair", "--yes"});
  ASSERT_EQ(repaired.status, 0) << repaired.err;
  const UsageTable table = stored();
  EXPECT_TRUE(passwordOpens(table.password, "secret"));
  EXPECT_EQ(table.user(1).field(kAccount), "alice");
  EXPECT_EQ(table.user(6).field(kAccount), "") << "beyond the cut: the defaults";
  EXPECT_EQ(logLines().back(), "06/12/2026 09:05 - parent - Admin tool - damaged data file repaired: 20 of 105 "
                               "fields read back, the rest set to the defaults");
}
