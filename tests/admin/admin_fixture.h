#pragma once
// The common start of the administration tool's tests: the accounting test's temporary data
// file, log and simulated clock, the tool run in-process on them as the account "parent" on a
// computer where every name is an account of that spelling, and a table saved through the core
// to begin from.
#include <functional>
#include <string>
#include <vector>

#include "accounting/table/usage_table.h"
#include "tests/fixtures/accounting_fixture.h"

class AdminTool : public AccountingTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  struct Result {
    int status;
    std::string out;
    std::string err;
  };
  // Runs the tool with the arguments and --file and --log of this test; the input is its
  // standard input.
  Result run(std::vector<std::string> args, const std::string& input = "");

  // Saves a table: the defaults with password "secret", changed by edit.
  void seed(const std::function<void(UsageTable&)>& edit = nullptr);
  // The table in the data file, loaded through the core.
  UsageTable stored();
};
