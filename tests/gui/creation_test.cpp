// Creating controls: owners, styles, positions, window classes, hot keys from captions, status
// bars, icons, fonts, rich edit fields, and the failures that end the program.
#include "gui/creation.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gui/fonts.h"
#include "gui/handlers.h"
#include "gui/position.h"
#include "gui/registry.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/gui/controls_fixture.h"

namespace {

constexpr char kFatalTitle[] = "Larkspur AppWindow - Fatal Error";

// A 16 x 16 icon file of one 32-bit image, all pixels opaque.
void writeIconFile(const std::string& path) {
  std::vector<std::uint8_t> bytes = {0, 0, 1, 0, 1, 0};  // ICONDIR: one icon
  const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
  auto put32 = [&bytes](std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  };
  bytes.insert(bytes.end(), {16, 16, 0, 0, 1, 0, 32, 0});  // width, height, colours, planes, bits
  put32(imageSize);
  put32(6 + 16);
  put32(40);  // BITMAPINFOHEADER; the height counts the image and its mask
  put32(16);
  put32(32);
  bytes.insert(bytes.end(), {1, 0, 32, 0});
  for (int field = 0; field < 6; ++field)
    put32(0);
  for (int pixel = 0; pixel < 16 * 16; ++pixel)
    bytes.insert(bytes.end(), {0, 0, 255, 255});
  bytes.insert(bytes.end(), 16 * 4, 0);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string classNameOf(int id) {
  char name[128] = {};
  GetClassNameA(hwndOf(id), name, sizeof name);
  return name;
}

std::vector<int> hotKeysOf(int window) {
  return ctrl_Hotkey_Keys[window];
}

LONG fontHeightOf(int id) {
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwndOf(id), WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

}  // namespace

TEST(Creation, OwnerZeroLandsInTheMostRecentGroupTabPageOrWindow) {
  const int window = create(Window, "first", 0, 0, 0, 400, 300, 0);
  const int group = create(Group, "group", window, 10, 10, 200, 100, 0);
  const int inGroup = create(LText, "in group", 0, 5, 20, 50, 20, 0);
  EXPECT_EQ(GetParent(hwndOf(inGroup)), hwndOf(group));

  const int tabs = create(TabControl, "", window, 10, 120, 300, 150, 0);
  const int page = create(TabItem, "page", 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(SendMessageA(hwndOf(tabs), TCM_GETITEMCOUNT, 0, 0), 1);
  const int onPage = create(LText, "on page", 0, 5, 30, 50, 20, 0);
  EXPECT_EQ(GetParent(hwndOf(onPage)), hwndOf(tabs));
  EXPECT_EQ(ctrl_Group[page], std::vector<int>{onPage});

  const int second = create(Window, "second", 0, 0, 0, 200, 100, 0);
  const int inWindow = create(LText, "in window", 0, 5, 5, 50, 20, 0);
  EXPECT_EQ(GetParent(hwndOf(inWindow)), hwndOf(second));
}

TEST(Creation, StyleNumberAddsToTheClassStyleAndAListReplacesIt) {
  const int window = create(Window, "styles", 0, 0, 0, 300, 200, 0);
  const int plain = create(PushButton, "plain", window, 10, 10, 50, 20, 0);
  EXPECT_EQ(static_cast<DWORD>(styleOf(plain)), classStyle[PushButton]);
  const int bordered = create(PushButton, "bordered", window, 10, 40, 50, 20, WS_BORDER);
  EXPECT_EQ(static_cast<DWORD>(styleOf(bordered)), classStyle[PushButton] | WS_BORDER);
  const int listed = create(PushButton, "listed", window, 10, 70, 50, 20, {WS_CHILD, WS_VISIBLE});
  EXPECT_EQ(static_cast<DWORD>(styleOf(listed)), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  // No style bits at all: not even a child window.
  const int bare = create(PushButton, "bare", window, 10, 100, 50, 20, {});
  EXPECT_EQ(styleOf(bare) & (WS_CHILD | WS_TABSTOP | WS_VISIBLE), 0);

  const int edit = createEx(EditText, "", window, 80, 10, 50, 20, 0, 0);
  EXPECT_EQ(exStyleOf(edit) & (WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES), WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES);
  const int flat = createEx(EditText, "", window, 80, 40, 50, 20, 0, {});
  EXPECT_EQ(exStyleOf(flat) & (WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES), 0);
}

TEST(Creation, PositionsAreRelativeToTheClientAreaLeftAboveTheStatusBar) {
  const int window = create(Window, "positions", 0, 0, 0, 400, 300, 0);
  const int statusBar = createEx(StatusBar, "status", window, 0, 0, 0, 0, 0, 0);
  const RECT client = clientOf(window);
  const int width = client.right - 1;
  const int height = client.bottom - (placeOf(statusBar).bottom - placeOf(statusBar).top) - 1;

  const RECT pixels = placeOf(create(LText, "pixels", window, 10, 20, 50, 30, 0));
  EXPECT_EQ(pixels.left, 10);
  EXPECT_EQ(pixels.top, 20);
  EXPECT_EQ(pixels.right - pixels.left, 50);

  const RECT shares = placeOf(create(LText, "shares", window, 0.5, 0.5, 0.25, 20, 0));
  EXPECT_EQ(shares.left, width / 2);
  EXPECT_EQ(shares.top, height / 2);
  EXPECT_EQ(shares.right - shares.left, width / 4);

  const RECT centred = placeOf(create(LText, "centred", window, Center, Center, 100, 40, 0));
  EXPECT_EQ(centred.left, width / 2 - 50);
  EXPECT_EQ(centred.top, height / 2 - 20);

  // From the far edge: 110 pixels in, 100 wide, so 10 pixels short of the edge.
  const RECT edged = placeOf(create(LText, "edged", window, {w32Edge, -110}, {0.5, 5}, {w32Edge, -10}, 20, 0));
  EXPECT_EQ(edged.left, width - 110);
  EXPECT_EQ(edged.top, height / 2 + 5);
  EXPECT_EQ(edged.right - edged.left, 100);

  const RECT clamped = placeOf(create(LText, "clamped", window, {10, 0.5}, 0, {0.9, 0, {10, 50}}, 20, 0));
  EXPECT_EQ(clamped.left, width / 2 + 10);
  EXPECT_EQ(clamped.right - clamped.left, 50);
}

TEST(Creation, ConvDimensionReadsPairsEitherWayRound) {
  EXPECT_EQ(convDimension(Default, 5, 100, 100, 0), kUseDefault);
  EXPECT_EQ(convDimension({0.5, 10}, 5, 200, 200, 0), 115);
  EXPECT_EQ(convDimension({10, 0.5}, 5, 200, 200, 0), 115);
  EXPECT_EQ(convDimension({0.5, 2.7}, 0, 200, 200, 0), 102);
  EXPECT_EQ(convDimension({w32AltEdge, -20}, 0, 200, 300, 0), 280);
  EXPECT_EQ(convDimension(w32Edge, 0, 200, 200, -50), 150);
  EXPECT_EQ(convDimension({0.5, 0, {0, 60}}, 0, 200, 200, 0), 60);
}

TEST(Creation, EachTopLevelWindowRegistersAClassOfItsOwn) {
  const int next = regCount;
  const int first = create(Window, "one", 0, 0, 0, 100, 100, 0);
  const int second = create(Window, "two", 0, 0, 0, 100, 100, 0);
  EXPECT_EQ(classNameOf(first), "Larkspur AppWindow " + std::to_string(next));
  EXPECT_EQ(classNameOf(second), "Larkspur AppWindow " + std::to_string(next + 1));
  EXPECT_EQ(nativeText(second), "two");
}

TEST(Creation, AmpersandCaptionsRegisterTheirKeyOnTheWindow) {
  const int window = create(Window, "keys", 0, 0, 0, 300, 200, 0);
  const int menu = create(Menu, "&File", window, 0, 0, 0, 0, 0);
  const int item = create(MenuItem, "E&xit", menu, 0, 0, 0, 0, 0);
  create(PushButton, "Trailing&", window, 10, 10, 80, 20, 0);
  create(PushButton, "None", window, 10, 40, 80, 20, 0);
  EXPECT_EQ(hotKeysOf(window), (std::vector<int>{'F', 'X'}));
  EXPECT_EQ(ctrl_Hotkey_Ids[window], (std::vector<int>{menu, item}));
}

TEST(Creation, ASecondStatusBarDoesNotReplaceTheFirst) {
  const int window = create(Window, "bars", 0, 0, 0, 400, 300, 0);
  const int first = createEx(StatusBar, "first", window, 0, 0, 0, 0, 0, 0);
  const int second = createEx(StatusBar, "second", window, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(ctrl_Statusbar[window], first);

  // Only the window's status bar follows its size: to the bottom of the new client area.
  const RECT secondBefore = placeOf(second);
  SetWindowPos(hwndOf(window), nullptr, 0, 0, 300, 220, SWP_NOMOVE | SWP_NOZORDER);
  const RECT client = clientOf(window);
  invokeHandler(window, w32HResize, {SIZE_RESTORED, client.right, client.bottom});
  const RECT moved = placeOf(first);
  EXPECT_EQ(moved.left, 0);
  EXPECT_EQ(moved.right, client.right);
  EXPECT_EQ(moved.bottom, client.bottom);
  const RECT secondAfter = placeOf(second);
  EXPECT_TRUE(EqualRect(&secondBefore, &secondAfter));
}

TEST(Creation, StatusBarTakesItsPanelLayoutFromY) {
  const int window = create(Window, "panels", 0, 0, 0, 500, 300, 0);
  const int statusBar = createEx(StatusBar, "", window, 0, PanelLayout{100, PanelWidth{50}, -1}, 0, 0, 0, 0);
  EXPECT_EQ(panelEdges(statusBar), (std::vector<int>{100, 150, -1}));
}

TEST(Creation, IconCaptionsEndingInIcoLoadTheIconFile) {
  const std::string path = (std::filesystem::temp_directory_path() / "orrindale test.ICO").string();
  writeIconFile(path);
  const int window = create(Window, "icons", 0, 0, 0, 300, 200, 0);
  const int fromFile = create(Icon, path, window, 10, 10, 32, 32, 0);
  const int placeholder = create(Icon, "Icon52", window, 50, 10, 32, 32, 0);
  EXPECT_NE(SendMessageA(hwndOf(fromFile), STM_GETICON, 0, 0), 0);
  EXPECT_EQ(SendMessageA(hwndOf(placeholder), STM_GETICON, 0, 0), 0);
  std::filesystem::remove(path);
}

TEST(Creation, ControlsGetTheDefaultFontSharedAndTransparentOnesTheirOwnersBackground) {
  const int window = create(Window, "fonts", 0, 0, 0, 300, 200, 0);
  const int first = create(PushButton, "one", window, 10, 10, 50, 20, 0);
  const int second = create(LText, "two", window, 10, 40, 50, 20, 0);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwndOf(first), WM_GETFONT, 0, 0));
  EXPECT_NE(font, GetStockObject(ANSI_VAR_FONT));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(hwndOf(second), WM_GETFONT, 0, 0)), font);
  LOGFONTA description = {};
  GetObjectA(font, sizeof description, &description);
  EXPECT_STREQ(description.lfFaceName, FontDefaults.face.c_str());
  EXPECT_LT(description.lfHeight, 0);
  EXPECT_EQ(ctrl_Bg_Color[second], ctrl_Bg_Color[window]);
}

// A height worked out in a window's own mapping must not become every other control's.
TEST(Creation, FontHeightsFollowTheMappingOfAWindowWithItsOwnContext) {
  const std::vector<ClassSetting> previous =
      changeClassDefaults(Window, {{CCwinstyle, std::vector<std::uint32_t>{CS_OWNDC}}});
  const int ownContext = create(Window, "own context", 0, 0, 0, 300, 200, 0);
  changeClassDefaults(Window, previous);
  const HDC dc = GetDC(hwndOf(ownContext));
  SetMapMode(dc, MM_LOMETRIC);
  ReleaseDC(hwndOf(ownContext), dc);
  // A size no other test uses, so that no height of it is known before.
  setFont(ownContext, "Arial", 13, kFontNormal);
  const int label = create(LText, "label", ownContext, 10, 10, 50, 20, 0);
  setFont(label, "Arial", 13, kFontNormal);
  const HDC screen = GetDC(nullptr);
  EXPECT_EQ(fontHeightOf(label), -13 * GetDeviceCaps(screen, LOGPIXELSY) / 72);
  ReleaseDC(nullptr, screen);
}

TEST(Creation, RichEditFieldsAreMadeOfTheLibraryLoadedForTheFirst) {
  EXPECT_EQ(GetModuleHandleA("msftedit.dll"), nullptr);
  const int window = create(Window, "rich", 0, 0, 0, 300, 200, 0);
  const int rich = create(RichEdit, "rich text", window, 10, 10, 100, 40, 0);
  EXPECT_NE(GetModuleHandleA("msftedit.dll"), nullptr);
  EXPECT_STRCASEEQ(classNameOf(rich).c_str(), "RICHEDIT50W");
  EXPECT_EQ(nativeText(rich), "rich text");
}

TEST(Creation, FontDefaultsComeFromTheFontEntry) {
  EXPECT_EQ(parseFontDefaults("COLOR=3; font = Tahoma, 10.4, 1"), (FontRecord{"Tahoma", 10.4, kFontBold, 0}));
  EXPECT_EQ(parseFontDefaults("Font="), (FontRecord{"Arial", 8, kFontNormal, 0}));
  EXPECT_EQ(parseFontDefaults("FONTS=Tahoma"), std::nullopt);
}

TEST(Creation, HintPairsKeepTheCaptionAndAutoCloseClosesTheWindow) {
  const int window = create(Window, "closing", 0, 0, 0, 300, 200, 0);
  const int button = create(PushButton, {"OK", "Accept the entry"}, window, 10, 10, 50, 20, {w32AUTOCLOSE, WS_CHILD});
  EXPECT_EQ(nativeText(button), "OK");
  EXPECT_EQ(ctrl_Hint_Text[button], "Accept the entry");
  char hint[64] = {};
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = hwndOf(window);
  tool.uId = reinterpret_cast<UINT_PTR>(hwndOf(button));
  tool.lpszText = hint;
  SendMessageA(ownWindowOfClass(TOOLTIPS_CLASSA), TTM_GETTEXTA, sizeof hint, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(hint, "Accept the entry");
  EXPECT_EQ(static_cast<DWORD>(styleOf(button)), static_cast<DWORD>(WS_CHILD));
  const HWND windowHandle = hwndOf(window);
  invokeHandler(button, w32HClick, {});
  // Nothing handles the close request yet, so the platform's default destroys the window.
  EXPECT_FALSE(IsWindow(windowHandle));
}

using CreationDeathTest = testing::Test;

TEST(CreationDeathTest, FailuresThatCannotBeBuiltOnEndTheProgram) {
  EXPECT_EXIT(
      {
        DialogAnswerer answerer(kFatalTitle, IDOK);
        create(LText, "orphan", 999, 0, 0, 10, 10, 0);
      },
      testing::ExitedWithCode(1), "create\\(\\):Invalid parent id\\.");
  EXPECT_EXIT(
      {
        DialogAnswerer answerer(kFatalTitle, IDOK);
        const int window = create(Window, "tab owner", 0, 0, 0, 100, 100, 0);
        create(TabItem, "page", window, 0, 0, 0, 0, 0);
      },
      testing::ExitedWithCode(1), "Cannot create a TabItem: Parent not a TabControl\\.");
  EXPECT_EXIT(
      {
        DialogAnswerer answerer(kFatalTitle, IDOK);
        const int window = create(Window, "list owner", 0, 0, 0, 100, 100, 0);
        create(ListView, "list", window, 0, 0, 10, 10, 0);
      },
      testing::ExitedWithCode(1), "cannot be created");
}

// The default font is settled when the first control is created, so this runs in a program
// of its own that has created nothing yet.
TEST(CreationDeathTest, TheFontEntryOfW32DefaultsBecomesEveryControlsFont) {
  SetEnvironmentVariableA("w32Defaults", "FONT=Courier New,12,1");
  EXPECT_EXIT(
      {
        const int window = create(Window, "fonts", 0, 0, 0, 300, 200, 0);
        const int button = create(PushButton, "font", window, 10, 10, 50, 20, 0);
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwndOf(button), WM_GETFONT, 0, 0)), sizeof font, &font);
        std::fprintf(stderr, "face=%s weight=%ld", font.lfFaceName, font.lfWeight);
        std::exit(0);
      },
      testing::ExitedWithCode(0), "face=Courier New weight=700");
  SetEnvironmentVariableA("w32Defaults", nullptr);
}

TEST(Creation, FourDigitsAndTheCaretFitAnEditFieldOf34Pixels) {
  const int window = create(Window, "cells", 0, 0, 0, 300, 200, 0);
  HWND cell = hwndOf(createEx(EditText, "1440", window, 10, 10, 34, 20, 0, 0));
  RECT client{};
  GetClientRect(cell, &client);
  const DWORD margins = static_cast<DWORD>(SendMessageA(cell, EM_GETMARGINS, 0, 0));
  HDC dc = GetDC(cell);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(cell, WM_GETFONT, 0, 0)));
  for (const char* digits : {"1440", "0000", "8888"}) {
    SIZE text{};
    GetTextExtentPoint32A(dc, digits, 4, &text);
    EXPECT_LT(LOWORD(margins) + text.cx + HIWORD(margins), client.right) << digits;
  }
  SelectObject(dc, previous);
  ReleaseDC(cell, dc);
}
