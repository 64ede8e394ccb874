// The real program's log-off at zero minutes in normal use: the system's log-off program runs,
// by its full path, never a logoff.bat or logoff.cmd that an account put in the folder it
// starts the program from.
#include <filesystem>

#include "tests/e2e/e2e_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"

TEST_F(OrrindaleEndToEnd, TheLogOffAtZeroRunsTheSystemsProgramNotTheCurrentFoldersScripts) {
  prepareDataFile("0000");
  logoff_stub::install();
  const std::filesystem::path folder = test_files::tempPath("own folder");
  std::filesystem::create_directories(folder);
  const std::string scripts[] = {"logoff.bat", "logoff.cmd"};
  for (const std::string& script : scripts) {
    test_files::remove((folder / (script + ".ran")).string());
    test_files::writeBytes((folder / script).string(), "@echo ran>\"%~dp0" + script + ".ran\"\r\n");
  }

  OrrindaleProcess program("alice", "ATHLON", "0", "", folder.string());
  ASSERT_TRUE(started(program));
  EXPECT_TRUE(logHas(" - alice - **** SYSTEM LOGOFF ****"));
  EXPECT_EQ(logoff_stub::runs(), 1);
  for (const std::string& script : scripts)
    EXPECT_FALSE(test_files::exists((folder / (script + ".ran")).string())) << script << " ran";
}
