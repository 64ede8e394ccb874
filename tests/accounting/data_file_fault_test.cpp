// Failures of the platform beneath a load and a save, injected at the runtime layer: each
// must leave the data file byte for byte as it was and say so in the log.
#include "accounting/data_file/data_file.h"
#include "accounting/table/usage_table.h"
#include "runtime/file_faults.h"
#include "tests/fixtures/accounting_fixture.h"
#include "tests/fixtures/files.h"

using DataFileFaults = AccountingTest;

TEST_F(DataFileFaults, FailedSaveLeavesThePreviousBytes) {
  struct Case {
    const char* what;
    rt::FileFaults faults;
    bool longer;  // whether the new text is longer than the file
  };
  const Case cases[] = {
      {"disk full", {.spaceLeft = 0}, true},
      {"disk full part way through the room", {.spaceLeft = 100}, true},
      {"write refused", {.writeCallsBeforeFailure = 0}, false},
      {"short write", {.writeCallsBeforeFailure = 0, .shortWrite = true}, false},
      {"short write of the text after the room was made", {.writeCallsBeforeFailure = 1, .shortWrite = true}, true},
      {"read refused", {.readableBytes = 300}, false},
  };
  for (const Case& c : cases) {
    writeDataFile(std::vector<std::string>(105, "previous field"));
    const std::string before = test_files::readBytes(dataPath);
    test_files::remove(logPath);
    for (std::string* field : fieldsInFileOrder(vTable))
      *field = c.longer ? "a much longer field than before" : "the next field";
    rt::injectFileFaults(c.faults);
    EXPECT_FALSE(SaveData()) << c.what;
    rt::injectFileFaults({});
    EXPECT_EQ(test_files::readBytes(dataPath), before) << c.what;
    EXPECT_EQ(logLines(), std::vector<std::string>{"06/12/2026 09:05 - Admin - Could not write file " + dataPath})
        << c.what;
  }
}

TEST_F(DataFileFaults, ReadFailingPartWayLoadsNothing) {
  writeDataFile(std::vector<std::string>(105, "field"));
  const std::string before = test_files::readBytes(dataPath);
  rt::injectFileFaults({.readableBytes = 300});
  EXPECT_EQ(LoadData(), -1);
  EXPECT_EQ(lastLoadProblem(), LoadProblem::CannotRead);
  EXPECT_EQ(vTable.password, "quillsun") << "the table is left as it was";
  EXPECT_EQ(test_files::readBytes(dataPath), before);
  EXPECT_EQ(logLines(), std::vector<std::string>{"06/12/2026 09:05 - Admin - Could not read file " + dataPath});
}
