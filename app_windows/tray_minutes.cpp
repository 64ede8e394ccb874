#include "app_windows/tray_minutes.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "accounting/program/request_watch.h"
#include "accounting/table/usage_table.h"
#include "app_windows/app_constants.h"
#include "app_windows/app_windows.h"
#include "app_windows/time_request_windows.h"
#include "app_windows/tray.h"
#include "app_windows/tray_digits.h"
#include "gui/control_looks.h"
#include "gui/showing_windows.h"
#include "runtime/clock.h"
#include "runtime/processes.h"
#include "support/w32dll.h"

int TrayNo = 0;
int AppIcon = 0;

namespace {
// Black digits on a white plate, both opaque, read on light and on dark taskbars alike. The
// alpha byte (0xAARRGGBB) is full as well: shells that draw 32-bit icons by their alpha
// channel rather than by the mask then draw the same picture.
constexpr std::uint32_t kDigitColour = 0xFF000000;
constexpr std::uint32_t kPlateColour = 0xFFFFFFFF;
constexpr int kMissingSystemPauseSeconds = 2;

int createIconIndirect(ICONINFO* iconInfo) {
  static const int handle = linkFunc(linkDLL({"user32.dll"}).handle, "CreateIconIndirect", 1);
  return w32Func(handle, {iconInfo});
}

[[noreturn]] void missing(const std::string& name) {
  rt::writeStdout("Couldn't find " + name + "\n");
  rt::sleepSeconds(kMissingSystemPauseSeconds);
  rt::exitProcess(1);
}

HMODULE openSystemLibrary(const char* name) {
  HMODULE library = LoadLibraryA(name);
  if (!library)
    missing(name);
  return library;
}
}  // namespace

int icon_from_rows(const std::vector<std::string>& rows) {
  const int width = static_cast<int>(rows.front().size());
  const int height = static_cast<int>(rows.size());
  std::vector<std::uint32_t> colours;
  colours.reserve(static_cast<std::size_t>(width) * height);
  for (const std::string& row : rows)
    for (char pixel : row)
      colours.push_back(pixel == ' ' ? kPlateColour : kDigitColour);
  // All mask bits clear: every pixel is drawn in its own colour, none lets the taskbar through
  // or inverts it. Rows of a 1-bit bitmap take a whole number of 16-bit words.
  const std::vector<unsigned char> opaque(static_cast<std::size_t>((width + 15) / 16 * 2) * height, 0);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = reinterpret_cast<HBITMAP>(w32Func(rtn::CreateBitmap, {width, height, 1, 1, opaque.data()}));
  info.hbmColor = reinterpret_cast<HBITMAP>(w32Func(rtn::CreateBitmap, {width, height, 1, 32, colours.data()}));
  const int icon = createIconIndirect(&info);
  w32Func(rtn::DeleteObject, {info.hbmMask});
  w32Func(rtn::DeleteObject, {info.hbmColor});
  return icon;
}

void draw_tray_minutes(int blink) {
  const bool blankPhase = blink == 1 && vSession.BlinkPhase == 0;
  const std::string minutes = vSession.currentUser ? vTable.user(vSession.currentUser).field(kMinutesLeft) : "";
  const int icon = icon_from_rows(glyphImage(glyphSlots(minutes, blankPhase)));
  // The shell keeps its own copy of the icon: the one it replaces is not needed any more, and
  // keeping it would use up the process's drawing objects after some days of running.
  const int replaced = trayIconHandle(TrayNo);
  tray_set_icon(TrayNo, icon);
  if (replaced != 0 && replaced != icon)
    w32Func(rtn::DestroyIcon, {replaced});
}

void refreshTrayTip() {
  // In a protected install the minutes are the guard's: while it does not answer, the copy says so.
  if (vSession.guardSilentSince >= 0) {
    tray_set_tip(TrayNo, std::string(ProductName) + "\nCannot reach the guard");
  } else if (vSession.currentUser != 0) {
    const std::string minutes = MinutesText(vTable.user(vSession.currentUser).field(kMinutesLeft));
    const std::string until = vSession.hoursUntil.empty() ? "" : ", " + vSession.hoursUntil;
    const std::string waiting = waitingText();
    tray_set_tip(TrayNo,
                 std::string(ProductName) + "\n" + minutes + " Mins" + until + (waiting.empty() ? "" : "\n" + waiting));
  }
}

void onsystray(int, int mouseMessage) {
  refreshTrayTip();
  if (mouseMessage == WM_LBUTTONDOWN) {
    showWindow(PasswordWindow, SW_SHOWNORMAL);
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    showWindow(PasswordWindow, SW_HIDE);
    showWindow(HostWindow, SW_HIDE);
  } else if (mouseMessage == WM_RBUTTONUP) {
    // The menu opens as the button comes up, as context menus do, after the press has hidden the windows.
    showTrayMenu();
  }
}

void load_app_icon() {
  HMODULE user32 = openSystemLibrary("user32.dll");
  openSystemLibrary("gdi32.dll");
  using LoadIconRoutine = HICON(WINAPI*)(HINSTANCE, LPCSTR);
  auto loadIcon = reinterpret_cast<LoadIconRoutine>(reinterpret_cast<void*>(GetProcAddress(user32, "LoadIconA")));
  if (!loadIcon)
    missing("LoadIconA");
  AppIcon = static_cast<int>(reinterpret_cast<std::uintptr_t>(loadIcon(GetModuleHandleA(nullptr), "IDAPPLICON")));
  for (int window : {AppIconCtl, MainWindow, PasswordWindow})
    setIcon(window, IconHandle{AppIcon});
}
