#pragma once
// The common ground of the end-to-end tests: the program's fixed data file and log in the
// test prefix, and a table with alice in slot 1 (the steps a user takes are in user_steps.h).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "accounting/table/usage_table.h"
#include "tests/e2e/orrindale_process.h"
#include "tests/e2e/user_steps.h"

class OrrindaleEndToEnd : public testing::Test {
 protected:
  void SetUp() override;

  // The default table with alice in slot 1, last counted today with the minutes given and
  // allowed 60 minutes every day; edit(vTable) may change it before it is saved.
  void prepareDataFile(const std::string& minutesLeft, void (*edit)(UsageTable&) = nullptr);
  // The data file as it is now.
  UsageTable dataFile();
  bool logHas(const std::string& ending);
  // Waits for the start-up log line of the account.
  bool started(OrrindaleProcess& program, const std::string& account = "alice");
};
