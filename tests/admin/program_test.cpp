// The orrindale-admin program itself, run as a child process: its standard input, and on a
// terminal the password asked without echo.
#include <gtest/gtest.h>

#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "runtime/processes.h"
#include "tests/admin/admin_fixture.h"
#include "tests/fixtures/files.h"

#ifndef _WIN32
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
std::string inQuotes(const std::string& text) {
  return "\"" + text + "\"";
}
}  // namespace

TEST_F(AdminTool, TheProgramReadsThePasswordFromItsStandardInput) {
  const std::string input = test_files::tempPath("input.txt");
  const std::string output = test_files::tempPath("output.txt");
  test_files::writeBytes(input, "from a pipe\r\n");
  const std::string tool = inQuotes(test_files::besideTest("orrindale-admin"));
  const std::string files = " --file " + inQuotes(dataPath) + " --log " + inQuotes(logPath);
  EXPECT_EQ(
      rt::runCommand(tool + " init --password-stdin" + files + " < " + inQuotes(input) + " > " + inQuotes(output)), 0);
  EXPECT_TRUE(passwordOpens(stored().password, "from a pipe"));
  EXPECT_EQ(rt::runCommand(tool + " allow-new-users perhaps" + files + " 2> " + inQuotes(output)), 1);
  EXPECT_NE(test_files::readBytes(output).find("\"perhaps\" is not yes or no"), std::string::npos);
  test_files::remove(input);
  test_files::remove(output);
}

#ifndef _WIN32
namespace {
// Reads what the terminal shows until the text appears; false at its end or after 20 s.
bool readUntil(int terminal, std::string& shown, const std::string& text) {
  while (shown.find(text) == std::string::npos) {
    pollfd ready{terminal, POLLIN, 0};
    char buffer[256];
    if (poll(&ready, 1, 20000) != 1)
      return false;
    const ssize_t count = read(terminal, buffer, sizeof buffer);
    if (count <= 0)
      return false;
    shown.append(buffer, static_cast<std::size_t>(count));
  }
  return true;
}
}  // namespace

TEST_F(AdminTool, SetPasswordAtATerminalAsksTwiceAndNeverShowsIt) {
  seed();
  const std::string tool = test_files::besideTest("orrindale-admin");
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(child, 0);
  if (child == 0) {
    execl(tool.c_str(), tool.c_str(), "set-password", "--file", dataPath.c_str(), "--log", logPath.c_str(), nullptr);
    _exit(127);
  }
  std::string shown;
  const std::string typed = "typed at the keyboard\n";
  ASSERT_TRUE(readUntil(terminal, shown, "New supervisor password: ")) << shown;
  ASSERT_EQ(write(terminal, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  ASSERT_TRUE(readUntil(terminal, shown, "The same password again: ")) << shown;
  ASSERT_EQ(write(terminal, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  readUntil(terminal, shown, "supervisor password changed");
  int status = -1;
  waitpid(child, &status, 0);
  close(terminal);

  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;
  EXPECT_EQ(shown.find("typed at"), std::string::npos) << shown;
  EXPECT_TRUE(passwordOpens(stored().password, "typed at the keyboard"));
}
#endif
