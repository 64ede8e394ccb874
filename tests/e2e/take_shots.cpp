// Screenshots of the real program for the README and for a look at what users see: the
// password window, the administration window on each of its tabs, and a time warning.
// Run by ./dev shot, which passes the folder in ORRINDALE_SHOTS and turns the bitmaps into PNG.
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/screen_shot.h"
#include "tests/support/dialog_answerer.h"

TEST_F(OrrindaleEndToEnd, Screenshots) {
  prepareDataFile("0011", [](UsageTable& table) {
    table.user(2).field(kAccount) = "bob";
    table.user(2).field(kMinutesLeft) = "0045";
    table.user(2).field(kMachine) = "PENTIUM4";
    table.user(2).field(kLastHour) = "16";
    table.user(2).field(kLastMinute) = "30";
    table.user(2).field(kLastDay) = "05";
    table.user(2).field(kLastMonth) = "12";
    table.user(2).field(kLastYear) = "2026";
    for (int day = 0; day < kDays; ++day)
      table.user(2).field(kSundayAllowance + day) = "45";
  });
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  HWND gate = program.window(kPasswordWindow);
  HWND main = program.window(kMainWindow);

  ASSERT_TRUE(showPasswordWindow(program));
  settle(gate);
  EXPECT_TRUE(saveScreen(shotPath("password")));

  ASSERT_TRUE(submitPassword(program, "quillsun", false));
  const std::pair<const char*, std::function<void()>> tabs[] = {
      {"security", [&] { chooseMenu(main, 't', 'c'); }},
      {"options", [&] { PostMessageA(controlsOf(main, "SysTabControl32").at(0), WM_KEYDOWN, VK_RIGHT, 0); }},
      {"update-data", [&] { chooseMenu(main, 't', 'm'); }},
  };
  for (const auto& [name, select] : tabs) {
    select();
    settle(main);
    EXPECT_TRUE(saveScreen(shotPath(name)));
  }

  chooseMenu(main, 'f', 'x');
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
  PostMessageA(program.window(kHostWindow), WM_TIMER, 1, 0);
  HWND warning = waitForBox(program.id(), "Orrindale");
  ASSERT_NE(warning, nullptr);
  settle(warning);
  EXPECT_TRUE(saveScreen(shotPath("warning")));
  DialogAnswerer answer("Orrindale", IDOK, 5000, program.id());
  EXPECT_TRUE(waitUntil([&] { return !answer.answered().empty(); }));
}
