// The real program under Wine, driven from outside: started as account alice on the
// computer ATHLON in test mode (debug level 2, so nothing is logged off), with a data file
// prepared here, and checked through its windows, its data file and its activity log.
#include <algorithm>
#include <cstring>

#include "accounting/log/activity_log.h"
#include "runtime/clock.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/screen_pixels.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/fixtures/files.h"

TEST_F(OrrindaleEndToEnd, StartsCountsWarnsAndAnswersTheTray) {
  prepareDataFile("0012");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  EXPECT_TRUE(logHas(" - alice - Machine in use ATHLON, Number 02"));
  EXPECT_EQ(dataFile().user(1).field(kMinutesLeft), "0011") << "the start counts a minute";

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
  EXPECT_EQ(dataFile().user(1).field(kMinutesLeft), "0010");
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
  EXPECT_TRUE(waitUntil([&] { return dataFile().user(1).field(kMinutesLeft) == "0048"; })) << "the accounting goes on";

  DialogAnswerer about("About", IDOK, 20000, program.id());
  chooseMenu(main, 'h', 'a');  // Help, About
  EXPECT_TRUE(waitUntil([&] { return !about.answered().empty(); }));
  const auto boxes = about.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Orrindale\nVersion 1");

  PostMessageA(program.window(kHostWindow), WM_CLOSE, 0, 0);
  EXPECT_EQ(program.waitForExit(10000), 0) << "closing the host window ends the program";
  EXPECT_TRUE(logHas(" - alice - Process Ended - User alice"));
}

TEST_F(OrrindaleEndToEnd, AClockMovedBackRenewsNothingAndTheSessionEndIsLoggedOnce) {
  // alice's record was last used tomorrow at 08:00: to the program the clock moved back a day.
  prepareDataFile("0030", [](UsageTable& table) {
    const rt::LocalTime now = rt::localNow();
    const rt::LocalTime ahead = rt::calendarTime(rt::secondsOf(now.year, now.month, now.day, 12, 0) + 86400);
    table.user(1).field(kLastYear) = zeroPadded(ahead.year, 4);
    table.user(1).field(kLastMonth) = zeroPadded(ahead.month, 2);
    table.user(1).field(kLastDay) = zeroPadded(ahead.day, 2);
  });
  const UserRecord before = dataFile().user(1);
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  const UserRecord after = dataFile().user(1);
  EXPECT_EQ(after.field(kMinutesLeft), "0029") << "the start counts a minute and renews nothing";
  for (int field : {kLastYear, kLastMonth, kLastDay, kLastHour, kLastMinute})
    EXPECT_EQ(after.field(field), before.field(field)) << "the later stamp stays, field " << field;
  EXPECT_TRUE(logHas(" - alice - **** CLOCK MOVED BACK from " + before.field(kLastDay) + "/" +
                     before.field(kLastMonth) + "/" + before.field(kLastYear) + " 08:00 ****"));

  const auto endLines = [&] {
    const auto lines = test_files::lines(vSession.logPath);
    return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
      return line.ends_with(" - alice - Process Ended - User alice");
    });
  };
  HWND host = program.window(kHostWindow);
  SendMessageA(host, WM_ENDSESSION, FALSE, 0);  // a log-off that was called off
  EXPECT_TRUE(program.running());
  EXPECT_EQ(endLines(), 0);
  // Any program of the account can send the message: the copy that logs its end must end.
  SendMessageA(host, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(program.waitForExit(10000), 0);
  ASSERT_EQ(endLines(), 1) << "once per run";
  EXPECT_TRUE(test_files::lines(vSession.logPath).back().ends_with(" - alice - Process Ended - User alice"))
      << "after the start line";
}

TEST_F(OrrindaleEndToEnd, TheTaskbarShowsTheMinutesAsDarkDigitsOnALightPlate) {
  prepareDataFile("0046");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  // The shell draws the icon in its own time; it is the only one in the notification area.
  // Digits that can be read take a good share of it, and so does the plate between them.
  int dark = 0, light = 0, all = 0;
  const bool readable = waitUntil([&] {
    const ScreenPixels area = readScreen(notificationArea());
    const RECT icon = trayIcons(area);
    dark = light = 0;
    all = (icon.right - icon.left) * (icon.bottom - icon.top);
    for (int y = icon.top; y < icon.bottom; ++y) {
      for (int x = icon.left; x < icon.right; ++x) {
        dark += brightness(area.at(x, y)) < 80;
        light += brightness(area.at(x, y)) > 175;
      }
    }
    return all > 0 && dark * 4 >= all && light * 4 >= all;
  });
  EXPECT_TRUE(readable) << "of the icon's " << all << " pixels " << dark << " are dark and " << light << " light";
}

// Both icon names of the program, the application icon and the window-class icon, show the
// same eight images, stored once; the large ones as PNG, and each makes an icon of its size.
TEST(OrrindaleResources, BothIconGroupsListTheSameEightStoredImages) {
  const HMODULE program =
      LoadLibraryExA(test_files::besideTest("orrindale").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  const auto resource = [program](LPCSTR name, LPCSTR type) {
    const HRSRC found = FindResourceA(program, name, type);
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(program, found))) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(program, found)) : std::string();
  };
  const std::string application = resource("IDAPPLICON", RT_GROUP_ICON);
  ASSERT_EQ(application.size(), 6u + 8 * 14) << "a directory of eight images";
  EXPECT_EQ(resource("appw", RT_GROUP_ICON), application);
  for (int image = 0; image < 8; ++image) {
    const char* entry = application.data() + 6 + 14 * image;
    const int size = static_cast<unsigned char>(entry[0]) == 0 ? 256 : static_cast<unsigned char>(entry[0]);
    WORD id = 0;
    std::memcpy(&id, entry + 12, sizeof id);
    std::string bytes = resource(MAKEINTRESOURCEA(id), RT_ICON);
    ASSERT_FALSE(bytes.empty()) << "image " << id;
    EXPECT_EQ(bytes.compare(0, 4, "\x89PNG") == 0, size >= 40) << size << " pixels";
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), TRUE,
                                          0x00030000, size, size, LR_DEFAULTCOLOR);
    ICONINFO info{};
    ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << size << " pixels";
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  FreeLibrary(program);
}
