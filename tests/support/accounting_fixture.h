#pragma once
// The common start of every accounting test: a fresh table and session, the data file and
// the log pointed at temporary files, and the simulated clock at 09:05 on Sunday 6 December 2026.
#include <gtest/gtest.h>

#include <string>
#include <vector>

class AccountingTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a data file holding the fields, scrambled, one per line.
  void writeDataFile(const std::vector<std::string>& fields, const std::string& lineEnd = "\n");
  // The data file's lines, unscrambled.
  std::vector<std::string> dataFileFields();
  std::vector<std::string> logLines();

  std::string dataPath;
  std::string logPath;
};
