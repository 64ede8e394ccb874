// Screenshots of the real program for the README and for a look at what users see: the
// password window, the administration window on each of its tabs, a time warning, a close-up
// of the minutes icon in the notification area, and the icon drawn on light and dark taskbars.
// Run by ./dev shot, which passes the folder in ORRINDALE_SHOTS and turns the bitmaps into PNG.
#include <string>
#include <vector>

#include "accounting/data_file/hours_file.h"
#include "accounting/hours/hours_book.h"
#include "app_windows/tray_digits.h"
#include "app_windows/tray_minutes.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/screen_pixels.h"
#include "tests/e2e/screen_shot.h"
#include "tests/fixtures/dialog_answerer.h"

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
  HoursBook hours;
  ASSERT_EQ(setHoursProblem({"Mon-Fri=07:00-08:00,15:00-20:30", "Sat,Sun=08:00-21:30"}, hours.accounts["bob"]), "");
  ASSERT_TRUE(saveHoursFile(hours));
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
      {"hours",
       [&] {
         showHoursPage(main);
         click(controlsOf(main, "Button", "bob").at(0));
         waitUntil([&] { return textOf(hoursDayEdit(main, 1)) == "07:00-08:00,15:00-20:30"; });
       }},
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

TEST_F(OrrindaleEndToEnd, TrayCloseUp) {
  prepareDataFile("0046");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  RECT area = notificationArea();
  area.left = area.right - 48;
  ASSERT_TRUE(waitUntil([&] { return trayIcons(readScreen(area)).right > 0; })) << "no icon in the notification area";
  area.top -= 6;  // a strip of the desktop above the taskbar, to show where it ends
  EXPECT_TRUE(saveBitmap(shotPath("tray-closeup"), readScreen(area), 8));
}

// The icon of several minutes texts as the shell draws it at 16 pixels (100 %) and at 24
// pixels (150 %), on a light and on a dark taskbar, enlarged.
TEST(TrayIcon, OnLightAndDarkTaskbars) {
  const char* const minutes[] = {"0045", "0120", "1440", "0005"};
  const COLORREF taskbars[] = {RGB(243, 243, 243), RGB(32, 32, 32)};
  constexpr int kCell = 32;
  ScreenPixels picture;
  picture.width = kCell * 8;
  picture.height = kCell * 2;
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, canvas);
  for (int row = 0; row < 2; ++row) {
    HBRUSH brush = CreateSolidBrush(taskbars[row]);
    const RECT band{0, row * kCell, picture.width, (row + 1) * kCell};
    FillRect(dc, &band, brush);
    DeleteObject(brush);
    for (int column = 0; column < 8; ++column) {
      const int size = column < 4 ? 16 : 24;
      HICON icon = reinterpret_cast<HICON>(icon_from_rows(glyphImage(glyphSlots(minutes[column % 4], false))));
      DrawIconEx(dc, column * kCell + (kCell - size) / 2, row * kCell + (kCell - size) / 2, icon, size, size, 0,
                 nullptr, DI_NORMAL);
      DestroyIcon(icon);
    }
  }
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(first, first + picture.width * picture.height);
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(canvas);
  EXPECT_TRUE(saveBitmap(shotPath("tray-icon-light-dark"), picture, 4));
}
