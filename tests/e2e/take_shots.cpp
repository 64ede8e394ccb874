// Screenshots of the real program for the README and for a look at what users see: the
// password window, the administration window on each of its tabs, a time warning, a close-up
// of the minutes icon in the notification area, the icon drawn on light and dark taskbars, and
// a request for more time: the tray's menu, the ask and answer windows and the answer's balloon.
// Run by ./dev shot, which passes the folder in ORRINDALE_SHOTS and turns the bitmaps into PNG.
#include <algorithm>
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
#include "tests/fixtures/files.h"

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

namespace {
// The tray's menu of the process, once it shows.
HWND shownMenu(DWORD process) {
  HWND found = nullptr;
  waitUntil([&] {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32768", nullptr); window && !found;
         window = FindWindowExA(nullptr, window, "#32768", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process && IsWindowVisible(window))
        found = window;
    }
    return found != nullptr;
  });
  return found;
}

// The window, or the window and the notification area it shows from, cut from the screen.
void saveAround(const std::string& name, HWND window, bool withTray) {
  RECT area{};
  GetWindowRect(window, &area);
  if (withTray) {
    const RECT tray = notificationArea();
    area = {std::min(area.left, tray.left) - 8, std::min(area.top, tray.top) - 8, tray.right, tray.bottom};
  }
  EXPECT_TRUE(saveBitmap(shotPath(name), readScreen(area)));
}
}  // namespace

TEST_F(OrrindaleEndToEnd, RequestForMoreTime) {
  prepareDataFile("0046");
  test_files::remove(hoursFileBeside(vSession.dataFilePath));
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  // Menus open at the mouse pointer: above the icon, where the shell of Windows puts a menu of
  // the notification area (Wine's would cover the taskbar).
  const RECT tray = notificationArea();
  SetCursorPos(tray.right - 14, tray.top - 44);

  ASSERT_TRUE(chooseFromTrayMenu(program, 'a', kAskWindow));
  HWND ask = program.window(kAskWindow);
  SendMessageA(controlsOf(ask, "Button", "30 minutes").at(0), BM_CLICK, 0, 0);
  typeInto(controlsOf(ask, "Edit").at(0), "finish my essay");
  click(controlsOf(ask, "Button", "Send").at(0));
  ASSERT_TRUE(waitUntil([&] { return !controlsOf(ask, "Static", "Asked for 30 minutes - waiting").empty(); }));
  settle(ask);
  saveAround("ask-time", ask, false);
  click(controlsOf(ask, "Button", "Cancel").at(0));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(ask); }));

  HWND host = program.window(kHostWindow);
  PostMessageA(host, kTrayCallback, 1, WM_RBUTTONDOWN);
  PostMessageA(host, kTrayCallback, 1, WM_RBUTTONUP);
  HWND menu = shownMenu(program.id());
  ASSERT_NE(menu, nullptr);
  settle(menu);
  saveAround("tray-menu", menu, true);
  PostMessageA(host, WM_CHAR, 'n', 0);
  ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(program.window(kAnswerWindow)) != FALSE; }));
  HWND answer = program.window(kAnswerWindow);
  typeInto(visibleControlsInReadingOrder(answer, "Edit").at(1), "quillsun");
  settle(answer);
  saveAround("answer-request", answer, false);

  click(controlsOf(answer, "Button", "Approve").at(0));
  HWND balloon = nullptr;
  ASSERT_TRUE(
      waitUntil([&] { return (balloon = shownBalloon(program, "Request 1 approved: 30 more minutes today")); }));
  settle(balloon);
  saveAround("balloon", balloon, true);
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
