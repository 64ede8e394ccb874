// The real program under Wine, driven from outside: started as account alice on the
// computer ATHLON in test mode (debug level 2, so nothing is logged off), with a data file
// prepared here, and checked through its windows, its data file and its activity log.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "accounting/startup.h"
#include "accounting/usage_table.h"
#include "runtime/clock.h"
#include "tests/e2e/orrindale_process.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/files.h"

namespace {

constexpr int kHostWindow = 1;
constexpr int kPasswordWindow = 2;
constexpr int kMainWindow = 3;
constexpr int kTrayCallback = 0x0405;

class OrrindaleEndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    const FixedPaths paths;
    std::filesystem::create_directories(std::filesystem::path(paths.dataFile).parent_path());
    vSession.dataFilePath = paths.dataFile;
    vSession.logPath = paths.log;
    test_files::remove(paths.log);
  }

  // Alice in slot 1, last counted today with the minutes given.
  void prepareDataFile(const std::string& minutesLeft) {
    InstallDefaults();
    UserRecord& alice = vTable.user(1);
    const rt::LocalTime now = rt::localNow();
    alice.field(kAccount) = "alice";
    alice.field(kMinutesLeft) = minutesLeft;
    alice.field(kLastYear) = zeroPadded(now.year, 4);
    alice.field(kLastMonth) = zeroPadded(now.month, 2);
    alice.field(kLastDay) = zeroPadded(now.day, 2);
    alice.field(kLastHour) = "08";
    alice.field(kLastMinute) = "00";
    for (int day = 0; day < kDays; ++day)
      alice.field(kSundayAllowance + day) = "60";
    test_files::writeBytes(vSession.dataFilePath, "");
    SaveData();
  }

  std::string aliceMinutes() {
    LoadData();
    return vTable.user(1).field(kMinutesLeft);
  }

  bool logHas(const std::string& ending) {
    const auto lines = test_files::lines(vSession.logPath);
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.size() >= ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
    });
  }

  bool started(OrrindaleProcess& program) {
    return program.started() && waitUntil([&] { return logHas(" - alice - Process Started - User alice"); });
  }

  // Left click on the tray icon, the password and Enter; true once MainWindow shows.
  bool openAdministration(OrrindaleProcess& program, const std::string& password) {
    HWND gate = program.window(kPasswordWindow);
    SendMessageA(program.window(kHostWindow), kTrayCallback, 1, WM_LBUTTONDOWN);
    if (!waitUntil([&] { return IsWindowVisible(gate) != FALSE; }))
      return false;
    const auto edits = controlsOf(gate, "Edit");
    if (edits.size() != 1)
      return false;
    typeInto(edits[0], password);
    pressKey(edits[0], VK_RETURN);
    return waitUntil([&] { return IsWindowVisible(program.window(kMainWindow)) && !IsWindowVisible(gate); });
  }

  void minuteTick(OrrindaleProcess& program) { PostMessageA(program.window(kHostWindow), WM_TIMER, 1, 0); }
};

TEST_F(OrrindaleEndToEnd, StartsCountsWarnsAndAnswersTheTray) {
  prepareDataFile("0012");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  EXPECT_TRUE(logHas(" - alice - Machine in use ATHLON, Number 02"));
  EXPECT_EQ(aliceMinutes(), "0011") << "the start counts a minute";

  HWND host = program.window(kHostWindow);
  HWND password = program.window(kPasswordWindow);
  ASSERT_TRUE(host && password);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(host); }, 3000)) << "the host window hides itself";

  SendMessageA(host, kTrayCallback, 1, WM_LBUTTONDOWN);
  EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(password) != FALSE; }));
  SendMessageA(host, kTrayCallback, 1, WM_RBUTTONDOWN);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(password); }));

  DialogAnswerer warning("Orrindale", IDOK, 20000, program.id());
  minuteTick(program);
  EXPECT_TRUE(waitUntil([&] { return !warning.answered().empty(); }));
  const auto boxes = warning.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Please save your work\nYou only have 010 minutes left");
  EXPECT_EQ(aliceMinutes(), "0010");
  EXPECT_TRUE(logHas(" - alice - User alice, Time 10"));
}

TEST_F(OrrindaleEndToEnd, ExitClosesOnlyTheAdministrationWindow) {
  prepareDataFile("0050");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  HWND main = program.window(kMainWindow);
  ASSERT_TRUE(main);
  ASSERT_TRUE(openAdministration(program, "quillsun"));

  chooseMenu(main, 'f', 'x');  // File, E&xit
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
  EXPECT_TRUE(program.running());
  minuteTick(program);
  EXPECT_TRUE(waitUntil([&] { return aliceMinutes() == "0048"; })) << "the accounting goes on";

  DialogAnswerer about("About", IDOK, 20000, program.id());
  chooseMenu(main, 'h', 'a');  // Help, About
  EXPECT_TRUE(waitUntil([&] { return !about.answered().empty(); }));
  const auto boxes = about.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Orrindale\nVersion 1");

  PostMessageA(program.window(kHostWindow), WM_CLOSE, 0, 0);
  EXPECT_EQ(program.waitForExit(10000), 0) << "closing the host window ends the program";
}

}  // namespace
