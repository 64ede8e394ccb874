#include "app_windows/tray_minutes.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "accounting/usage_table.h"
#include "app_windows/app_constants.h"
#include "app_windows/app_windows.h"
#include "app_windows/tray.h"
#include "app_windows/tray_digits.h"
#include "gui/control_looks.h"
#include "gui/device_context.h"
#include "gui/gdi_objects.h"
#include "gui/geometry.h"
#include "gui/windows.h"
#include "runtime/clock.h"
#include "runtime/process.h"
#include "support/w32dll.h"
#include "support/w32memset.h"

int TrayNo = 0;
int AppIcon = 0;

namespace {
constexpr int kIconInfoSize = 20;
constexpr int kMissingSystemPauseSeconds = 2;

int createIconIndirect(void* iconInfo) {
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

int icon_from_bitmap(int bitmap) {
  const Size size = getCtlSize(bitmap);
  const int dc = getDC(bitmap);
  const int memoryDC = w32Func(rtn::CreateCompatibleDC, {dc});
  const int mask = w32Func(rtn::CreateBitmap, {size.width, size.height, 1, 1, nullptr});
  const int previous = w32Func(rtn::SelectObject, {memoryDC, mask});
  const int oldBackground = w32Func(rtn::SetBkColor, {dc, rgb(255, 0, 255)});
  w32Func(rtn::BitBlt, {memoryDC, 0, 0, size.width, size.height, dc, 0, 0, SRCCOPY});
  w32Func(rtn::SetBkColor, {dc, oldBackground});
  w32Func(rtn::SelectObject, {memoryDC, previous});
  w32Func(rtn::DeleteDC, {memoryDC});

  auto* info = static_cast<unsigned char*>(w32acquire_mem(0, kIconInfoSize));
  releaseDC(bitmap);
  const int words[5] = {1, 0, 0, mask, bitmap};  // an icon, hot spot 0,0, mask, colour
  std::memcpy(info, words, sizeof words);
  const int icon = createIconIndirect(info);
  w32release_mem(info);
  w32Func(rtn::DeleteObject, {mask});
  return icon;
}

void draw_tray_minutes(int blink) {
  const bool blankPhase = blink == 1 && vSession.BlinkPhase == 0;
  const std::string minutes = vSession.currentUser ? vTable.user(vSession.currentUser).field(kMinutesLeft) : "";
  const int bitmap = bitmapFromText(glyphImage(glyphSlots(minutes, blankPhase)));
  const int icon = icon_from_bitmap(bitmap);
  // The icon holds copies of both bitmaps, and the shell keeps its own copy of the icon:
  // neither the bitmap nor the icon it replaces is needed once the tray shows the new one.
  // Keeping them would use up the process's drawing objects after some days of running.
  deleteObject(bitmap);
  const int replaced = trayIconHandle(TrayNo);
  tray_set_icon(TrayNo, icon);
  if (replaced != 0 && replaced != icon)
    w32Func(rtn::DestroyIcon, {replaced});
}

void onsystray(int, int mouseMessage) {
  if (vSession.currentUser != 0) {
    const std::string minutes = MinutesText(vTable.user(vSession.currentUser).field(kMinutesLeft));
    tray_set_tip(TrayNo, std::string(ProductName) + "\n" + minutes + " Mins");
  }
  if (mouseMessage == WM_LBUTTONDOWN) {
    showWindow(PasswordWindow, SW_SHOWNORMAL);
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    showWindow(PasswordWindow, SW_HIDE);
    showWindow(HostWindow, SW_HIDE);
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
