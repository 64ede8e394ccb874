#include "tests/support/accounting_fixture.h"

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "accounting/startup.h"
#include "accounting/ui_routines.h"
#include "accounting/usage_table.h"
#include "runtime/file_faults.h"
#include "tests/support/files.h"
#include "tests/support/sim_clock.h"

void AccountingTest::SetUp() {
  InstallDefaults();
  resetSession();
  resetUiRoutines();
  vStamp = TimeStamp{};
  dataPath = test_files::tempPath("data.dat");
  logPath = test_files::tempPath("activity.log");
  test_files::remove(dataPath);
  test_files::remove(logPath);
  vSession.dataFilePath = dataPath;
  vSession.logPath = logPath;
  vFixedPaths = {dataPath, logPath};
  sim_clock::install(2026, 12, 6, 9, 5);
}

void AccountingTest::TearDown() {
  rt::injectFileFaults({});
  sim_clock::uninstall();
  test_files::remove(dataPath);
  test_files::remove(logPath);
}

namespace {
// The data file scrambles one character at a time, so every byte meets the same key.
std::string scrambleEach(std::string text) {
  for (char& c : text)
    c = static_cast<char>(c ^ scrambleByte());
  return text;
}
}  // namespace

void AccountingTest::writeDataFile(const std::vector<std::string>& fields, const std::string& lineEnd) {
  std::string bytes;
  for (const std::string& field : fields)
    bytes += scrambleEach(field) + lineEnd;
  test_files::writeBytes(dataPath, bytes);
}

std::vector<std::string> AccountingTest::dataFileFields() {
  std::vector<std::string> fields = test_files::lines(dataPath);
  for (std::string& field : fields)
    field = scrambleEach(field);
  return fields;
}

std::vector<std::string> AccountingTest::logLines() {
  return test_files::lines(logPath);
}
