// The data file's lock: loads and saves wait for it and end the program after a minute, and
// copies in several processes, even one killed at any write, never see a torn table.
#include <algorithm>
#include <thread>
#include <vector>

#include "accounting/data_file/data_file.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "runtime/file.h"
#include "runtime/processes.h"
#include "tests/fixtures/accounting_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/sim_clock.h"

namespace {

int countLines(const std::vector<std::string>& lines, const std::string& ending) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.size() >= ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
  }));
}

// Fields that name the save which wrote them, as the worker writes them.
std::vector<std::string> stampedFields(const std::string& stamp) {
  std::vector<std::string> fields;
  for (int i = 0; i < 105; ++i)
    fields.push_back(stamp + std::to_string(i));
  return fields;
}

// Whether every field of the table names the same save.
bool oneSaveThroughout(const std::vector<std::string>& fields) {
  const std::string tag = fields.at(0).substr(0, fields[0].rfind(':') + 1);
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].substr(0, fields[i].rfind(':') + 1) != tag)
      return false;
  return true;
}

}  // namespace

using DataFileLock = AccountingTest;

TEST_F(DataFileLock, LockHeldForOverAMinuteEndsTheProgram) {
  writeDataFile(std::vector<std::string>(105, "x"));
  // Held through a second open of the file: the lock belongs to the open file, so this
  // blocks the load below (in this process, or in the death test's child) like another copy would.
  rt::TextFile holder(dataPath, rt::OpenMode::Read);
  const bool held = holder.tryLockExclusive();
  EXPECT_EXIT(LoadData(), testing::ExitedWithCode(1), "");
  ASSERT_TRUE(held);

  const auto lines = logLines();
  // Attempts at 0, 5, ... 60 s, and one more at 65 s, after which the minute is over.
  EXPECT_EQ(countLines(lines, " - Admin - Warning - Could not lock file"), 14);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "06/12/2026 09:06 - Admin - Error - file lock failed");
}

TEST_F(DataFileLock, LockReleasedAfterTwelveSecondsLetsTheLoadThrough) {
  writeDataFile(std::vector<std::string>(105, "x"));
  rt::TextFile holder(dataPath, rt::OpenMode::Read);
  ASSERT_TRUE(holder.tryLockExclusive());
  sim_clock::onSleep([&](long long elapsed) {
    if (elapsed >= 12)
      holder.unlock();
  });
  EXPECT_EQ(LoadData(), 105);
  EXPECT_EQ(vTable.password, "x");
  EXPECT_EQ(countLines(logLines(), "Warning - Could not lock file"), 3);
  EXPECT_EQ(sim_clock::now() - rt::secondsOf(2026, 12, 6, 9, 5), 15);
}

TEST_F(DataFileLock, SavingWaitsForTheLockToo) {
  writeDataFile(std::vector<std::string>(105, "old"));
  rt::TextFile holder(dataPath, rt::OpenMode::Read);
  ASSERT_TRUE(holder.tryLockExclusive());
  sim_clock::onSleep([&](long long) { holder.unlock(); });
  vTable.password = "new";
  SaveData();
  EXPECT_EQ(countLines(logLines(), "Warning - Could not lock file"), 1);
  EXPECT_TRUE(passwordOpens(dataFileFields()[0], "new"));
}

// Four copies of the program load, change and save one file at the same time. Each save
// writes a table whose every field names the save; a load that saw parts of two saves,
// or a half-written one, makes its worker fail.
TEST_F(DataFileLock, ConcurrentProcessesNeverSeeATornTable) {
  writeDataFile(stampedFields("init:0:"));

  const std::string worker = test_files::besideTest("data_file_worker");
  constexpr int kWorkers = 4;
  std::vector<int> status(kWorkers, -1);
  std::vector<std::thread> threads;
  for (int w = 0; w < kWorkers; ++w) {
    threads.emplace_back([&, w] {
      status[w] = rt::runCommand("\"" + worker + "\" \"" + dataPath + "\" w" + std::to_string(w) + " 250");
    });
  }
  for (auto& t : threads)
    t.join();
  for (int w = 0; w < kWorkers; ++w)
    EXPECT_EQ(status[w], 0) << "worker " << w;

  ASSERT_EQ(LoadData(), 105);
  EXPECT_TRUE(oneSaveThroughout(dataFileFields()));
}

// A copy killed at any write call of its fast load-change-save loop leaves the whole of one
// save: a table of about 9 KB goes into the file in one write call, and when it grows, its
// room is taken before that. Writes in pieces would leave new bytes followed by old ones.
TEST_F(DataFileLock, CopyKilledAtAnyWriteLeavesTheWholeOfOneSave) {
  writeDataFile(stampedFields("init:0:"));
  const std::string worker = test_files::besideTest("data_file_worker");
  for (int writes = 0; writes < 20; ++writes) {
    const int status = rt::runCommand("\"" + worker + "\" \"" + dataPath + "\" k" + std::to_string(writes) + " 1000 " +
                                      std::to_string(writes));
    EXPECT_NE(status, 0) << "killed at the write call after " << writes;
    ASSERT_GE(LoadData(), 105) << writes;
    const auto fields = dataFileFields();
    ASSERT_TRUE(oneSaveThroughout({fields.begin(), fields.begin() + 105})) << writes;
  }
}
