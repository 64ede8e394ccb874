// Screenshots of the real program for the README and for a look at what users see: the
// password window, the administration window on each of its tabs, and a time warning.
// Run by ./dev shot, which passes the folder in ORRINDALE_SHOTS and turns the bitmaps into PNG.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/e2e/e2e_fixture.h"
#include "tests/support/dialog_answerer.h"

namespace {

// The whole screen (the Wine desktop) as a 24-bit bitmap file.
bool saveScreen(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, previous);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const int rowBytes = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(rowBytes) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out)
    return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

std::string shotPath(const std::string& name) {
  const char* folder = std::getenv("ORRINDALE_SHOTS");
  return std::string(folder ? folder : ".") + "\\" + name + ".bmp";
}

// Lets the windows paint before the picture is taken: a round trip through the program's
// message queue, then the desktop's.
void settle(HWND window) {
  SendMessageA(window, WM_NULL, 0, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
}

}  // namespace

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
