// The tray icon: the digits' slots, glyph bitmap and plate, the shell's record with a tip of at
// most 63 characters and a balloon, and callbacks that reach the handler of a known icon only.
#include "app_windows/tray.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "app_windows/app_constants.h"
#include "app_windows/tray_digits.h"
#include "app_windows/tray_minutes.h"
#include "gui/class_table.h"
#include "gui/creation.h"
#include "gui/gdi_objects.h"
#include "gui/handlers.h"
#include "gui/message_dispatch.h"
#include "gui/registry.h"
#include "support/w32dll.h"
#include "support/w32memset.h"
#include "tests/e2e/screen_pixels.h"

namespace {

int imageWidth(const std::string& minutes) {
  return static_cast<int>(glyphImage(glyphSlots(minutes, false))[0].size());
}

int word(const unsigned char* record, int offset) {
  int value = 0;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

struct Notification {
  int icon;
  int mouseMessage;
};
std::vector<Notification> vNotified;
void recordNotification(int icon, int mouseMessage) {
  vNotified.push_back({icon, mouseMessage});
}
void otherEventHandler(int, int, const EventParams&) {}

class FrameworkStart : public testing::Environment {
 public:
  void SetUp() override {
    startRegistry();
    startDispatch();
  }
};
[[maybe_unused]] testing::Environment* const vFramework = testing::AddGlobalTestEnvironment(new FrameworkStart);

int newWindow() {
  return create(Window, "tray owner", 0, 0, 0, 120, 80, 0);
}

}  // namespace

TEST(TrayDigits, SlotsDropLeadingZerosAndKeepASecondPlaceBlank) {
  EXPECT_EQ(glyphSlots("0045", false), (GlyphSlots{11, 12, 4, 5}));
  EXPECT_EQ(glyphSlots("0120", false), (GlyphSlots{11, 1, 2, 10}));
  EXPECT_EQ(glyphSlots("20", false), (GlyphSlots{2, 10, 11, 11}));
  EXPECT_EQ(glyphSlots("0000", false), (GlyphSlots{11, 12, 11, 11}));
  EXPECT_EQ(glyphSlots("1a05", false), (GlyphSlots{1, 10, 10, 5})) << "a non-digit reads as 0";
  EXPECT_EQ(glyphSlots("0045", true), (GlyphSlots{12, 12, 12, 12}));
}

TEST(TrayDigits, ImageWidthIsTheSumOfTheGlyphs) {
  EXPECT_EQ(imageWidth("0045"), 24);
  EXPECT_EQ(imageWidth("0005"), 15);
  EXPECT_EQ(imageWidth("1440"), 32);
  EXPECT_EQ(imageWidth("20"), 18);
  EXPECT_EQ(imageWidth("0000"), 6);
  EXPECT_EQ(glyphImage(glyphSlots("0045", true))[0].size(), 24u);
}

TEST(TrayDigits, AnEmptyOrSingleZeroTextDrawsABlankNotAnEmptyImage) {
  EXPECT_EQ(imageWidth(""), 6);
  EXPECT_EQ(imageWidth("0"), 6);
  EXPECT_EQ(glyphImage(glyphSlots("", false)), std::vector<std::string>(9, "      "));
}

TEST(TrayDigits, BitmapBitsFollowTheGlyphRows) {
  const std::vector<std::string> rows = glyphImage(glyphSlots("0045", false));
  const int bitmap = bitmapFromText(rows);
  ASSERT_NE(bitmap, 0);
  BITMAP info{};
  ASSERT_NE(GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 24);
  EXPECT_EQ(info.bmHeight, 9);
  std::vector<unsigned char> bits(info.bmWidthBytes * info.bmHeight);
  ASSERT_EQ(GetBitmapBits(reinterpret_cast<HBITMAP>(bitmap), static_cast<LONG>(bits.size()), bits.data()),
            static_cast<LONG>(bits.size()));
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 24; ++x) {
      const bool set = bits[y * info.bmWidthBytes + x / 8] & (0x80 >> (x % 8));
      EXPECT_EQ(set, rows[y][x] == ' ') << "pixel " << x << "," << y;
    }
  }
  deleteObject(bitmap);
}

// The bits of a 1-bit bitmap as text rows, blank for a set bit.
std::vector<std::string> bitmapRows(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  std::vector<unsigned char> bits(info.bmWidthBytes * info.bmHeight);
  GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
  std::vector<std::string> rows(info.bmHeight);
  for (int y = 0; y < info.bmHeight; ++y)
    for (int x = 0; x < info.bmWidth; ++x)
      rows[y] += (bits[y * info.bmWidthBytes + x / 8] & (0x80 >> (x % 8))) ? ' ' : 'x';
  return rows;
}

BITMAPINFO topDown32(int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  return format;
}

// The pixels of a bitmap as 0x00RRGGBB, top row first.
std::vector<std::uint32_t> bitmapPixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO format = topDown32(width, height);
  std::vector<std::uint32_t> result(static_cast<std::size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, height, result.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (std::uint32_t& pixel : result)
    pixel &= 0xFFFFFF;
  return result;
}

// The pixels of the icon drawn at its own size over a taskbar of the colour.
std::vector<std::uint32_t> drawnPixels(HICON icon, int width, int height, COLORREF taskbar) {
  BITMAPINFO format = topDown32(width, height);
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, canvas);
  HBRUSH brush = CreateSolidBrush(taskbar);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<std::uint32_t> result(static_cast<const std::uint32_t*>(bits),
                                    static_cast<const std::uint32_t*>(bits) + width * height);
  DeleteObject(brush);
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(canvas);
  for (std::uint32_t& pixel : result)
    pixel &= 0xFFFFFF;
  return result;
}

TEST(TrayDigits, IconShowsDarkDigitsOnAnOpaqueLightPlateOverAnyTaskbar) {
  for (const auto& [minutes, blankPhase] : {std::pair{"0045", false}, {"1440", false}, {"0045", true}}) {
    SCOPED_TRACE(std::string(minutes) + (blankPhase ? " blank" : ""));
    const std::vector<std::string> rows = glyphImage(glyphSlots(minutes, blankPhase));
    const int width = static_cast<int>(rows[0].size());
    const int icon = icon_from_rows(rows);
    ASSERT_NE(icon, 0);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(icon), &info));
    EXPECT_TRUE(info.fIcon);
    ASSERT_NE(info.hbmColor, nullptr);
    const std::vector<std::string> mask = bitmapRows(info.hbmMask);
    ASSERT_EQ(mask.size(), rows.size()) << "drawn at the image's own size";
    ASSERT_EQ(mask[0].size(), rows[0].size());
    const std::vector<std::uint32_t> colour = bitmapPixels(info.hbmColor, width, kGlyphRows);
    int inverting = 0;  // a set mask bit over a colour that is not black
    for (int y = 0; y < kGlyphRows; ++y)
      for (int x = 0; x < width; ++x)
        inverting += mask[y][x] == ' ' && colour[y * width + x] != 0;
    EXPECT_EQ(inverting, 0);

    for (COLORREF taskbar : {RGB(243, 243, 243), RGB(32, 32, 32)}) {
      const std::vector<std::uint32_t> drawn = drawnPixels(reinterpret_cast<HICON>(icon), width, kGlyphRows, taskbar);
      int darkestPlate = 255, lightestDigit = 0;
      for (int y = 0; y < kGlyphRows; ++y) {
        for (int x = 0; x < width; ++x) {
          const int light = brightness(drawn[y * width + x]);
          if (rows[y][x] == ' ')
            darkestPlate = std::min(darkestPlate, light);
          else
            lightestDigit = std::max(lightestDigit, light);
        }
      }
      EXPECT_GE(darkestPlate - lightestDigit, 160) << "over a taskbar of " << std::hex << taskbar;
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(reinterpret_cast<HICON>(icon));
  }
}

TEST(TrayRecord, HoldsTheShellFieldsAndAtMost63TipCharacters) {
  const int before = w32liveBlocks();
  const std::string tip(70, 'm');
  auto* record = static_cast<unsigned char*>(tray_icon_data(0x1234, 1, {1, 2, 4}, 1029, 0x77, tip));
  EXPECT_EQ(word(record, 0), 488);
  EXPECT_EQ(word(record, 4), 0x1234);
  EXPECT_EQ(word(record, 8), 1);
  EXPECT_EQ(word(record, 12), 7);
  EXPECT_EQ(word(record, 16), 1029);
  EXPECT_EQ(word(record, 20), 0x77);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 24)), tip.substr(0, 63));
  EXPECT_EQ(record[87], 0);
  w32release_mem(record);
  EXPECT_EQ(w32liveBlocks(), before);

  auto* modify = static_cast<unsigned char*>(tray_icon_data(0x1234, 1, {2, 4}, 0, 0, "Orrindale\n45 Mins"));
  EXPECT_EQ(word(modify, 12), 6);
  EXPECT_EQ(word(modify, 16), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(modify + 24)), "Orrindale\n45 Mins");
  w32release_mem(modify);
}

// The balloon's fields where the platform's own header puts them, filled only with NIF_INFO.
TEST(TrayRecord, ABalloonFillsTheShellsBalloonFieldsCutToTheirSize) {
  const TrayBalloon balloon{std::string(70, 't'), std::string(300, 'b')};
  auto* record =
      static_cast<unsigned char*>(tray_icon_data(0x1234, 1, {NIF_INFO_FLAG}, 0, 0, "Orrindale\n45 Mins", balloon));
  EXPECT_EQ(word(record, 0), static_cast<int>(NOTIFYICONDATAA_V2_SIZE));
  EXPECT_EQ(word(record, offsetof(NOTIFYICONDATAA, uFlags)), NIF_INFO);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + offsetof(NOTIFYICONDATAA, szTip))), "Orrindale\n45 Mins");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + offsetof(NOTIFYICONDATAA, szInfo))), std::string(255, 'b'));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + offsetof(NOTIFYICONDATAA, szInfoTitle))),
            std::string(63, 't'));
  EXPECT_EQ(word(record, offsetof(NOTIFYICONDATAA, dwInfoFlags)), NIIF_INFO);
  EXPECT_EQ(word(record, offsetof(NOTIFYICONDATAA, uTimeout)), 10000);
  EXPECT_EQ(word(record, offsetof(NOTIFYICONDATAA, dwState)), 0);
  w32release_mem(record);

  auto* plain = static_cast<unsigned char*>(tray_icon_data(0x1234, 1, {2, 4}, 0, 0, "tip", balloon));
  EXPECT_EQ(std::count(plain + offsetof(NOTIFYICONDATAA, dwState), plain + NOTIFYICONDATAA_V2_SIZE, 0),
            static_cast<long>(NOTIFYICONDATAA_V2_SIZE - offsetof(NOTIFYICONDATAA, dwState)))
      << "no balloon without its flag";
  w32release_mem(plain);
}

TEST(Tray, AddKeepsEarlierEventHandlersAndStartsHidden) {
  const int window = newWindow();
  setHandler(window, w32HEvent, otherEventHandler);
  const int icon = tray_add(window);
  EXPECT_EQ(icon, trayCount());
  EXPECT_EQ(getHandlerList(window, w32HEvent), (std::vector<Handler>{otherEventHandler, onevent}));
  EXPECT_FALSE(trayShown(icon));
  EXPECT_EQ(trayIconHandle(icon), 0);
  tray_show(icon);
  EXPECT_TRUE(trayShown(icon)) << "shown whatever the shell answered";
}

TEST(Tray, TipAndBalloonAreCutToTheShellsSizesBeforeTheyAreStored) {
  const int icon = tray_add(newWindow());
  tray_set_tip(icon, std::string(63, 'a') + "bcd");
  EXPECT_EQ(trayTip(icon), std::string(63, 'a'));
  tray_set_icon(icon, 42);
  EXPECT_EQ(trayIconHandle(icon), 42);
  tray_balloon(icon, {std::string(70, 't'), std::string(300, 'b')});
  EXPECT_EQ(trayBalloon(icon).title, std::string(63, 't'));
  EXPECT_EQ(trayBalloon(icon).text, std::string(255, 'b'));
}

TEST(Tray, CallbacksReachTheHandlerOfAKnownIconOnly) {
  const int window = newWindow();
  const int icon = tray_add(window);
  vNotified.clear();
  onevent(window, w32HEvent, {TRAY_CALLBACK_MESSAGE, icon, WM_MOUSEMOVE});
  EXPECT_TRUE(vNotified.empty()) << "no handler yet";

  tray_set_handler(icon, recordNotification);
  onevent(window, w32HEvent, {TRAY_CALLBACK_MESSAGE - 1, icon, WM_LBUTTONDOWN});
  onevent(window, w32HEvent, {TRAY_CALLBACK_MESSAGE, 0, WM_LBUTTONDOWN});
  onevent(window, w32HEvent, {TRAY_CALLBACK_MESSAGE, trayCount() + 1, WM_LBUTTONDOWN});
  EXPECT_TRUE(vNotified.empty());

  // Through the real window procedure, as the shell delivers it.
  w32Func(rtn::SendMessageA, {getHandle(window), TRAY_CALLBACK_MESSAGE, icon, WM_RBUTTONDOWN});
  ASSERT_EQ(vNotified.size(), 1u);
  EXPECT_EQ(vNotified[0].icon, icon);
  EXPECT_EQ(vNotified[0].mouseMessage, WM_RBUTTONDOWN);
}
