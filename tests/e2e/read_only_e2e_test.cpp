// The real program in normal use with a data file it cannot write. A standard account can
// set the read-only attribute on the file, so the count must not stop when saves fail.
// Wine, run as root here, ignores that attribute for writes; a handle that denies others
// write access (as a program holding the file open does on Windows) makes the file really
// unwritable while it stays readable.
#include "tests/e2e/e2e_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"

TEST_F(OrrindaleEndToEnd, DataFileThatCannotBeWrittenLogsOffAtStartAndAtEachTick) {
  prepareDataFile("0030");
  const std::string before = test_files::readBytes(vSession.dataFilePath);
  logoff_stub::install();
  ASSERT_TRUE(SetFileAttributesA(vSession.dataFilePath.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE readOnly = CreateFileA(vSession.dataFilePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(readOnly, INVALID_HANDLE_VALUE);

  OrrindaleProcess program("alice", "ATHLON", "");
  ASSERT_TRUE(started(program));
  EXPECT_TRUE(logHas(" - alice - Could not find file " + vSession.dataFilePath + " to write to"));
  EXPECT_EQ(logoff_stub::runs(), 1) << "the start-up minute could not be kept";
  minuteTick(program);
  EXPECT_TRUE(waitUntil([] { return logoff_stub::runs() == 2; })) << "nor could the tick's";
  EXPECT_EQ(test_files::readBytes(vSession.dataFilePath), before);

  CloseHandle(readOnly);
  SetFileAttributesA(vSession.dataFilePath.c_str(), FILE_ATTRIBUTE_NORMAL);
}
