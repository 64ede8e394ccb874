// The plain program's accounting interface routines, written straight on Win32: the tabs'
// controls, the tray icon, the status bar, the timers, the icon and the message box.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "accounting/table/table_rules.h"
#include "accounting/program/ui_routines.h"
#include "accounting/table/usage_table.h"
#include "app_windows/tray_digits.h"
#include "bench/plain_program.h"

namespace {
constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOTIFY;
constexpr DWORD kEdit = kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_LEFT;
constexpr DWORD kEditEx = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;
constexpr UINT kTrayMessage = WM_USER + 5;
constexpr int kGroupLift = 25;
constexpr int kRowTops[kUserSlots] = {80, 110, 140, 170, 200, 230};
constexpr const char* kDayNames[kDays] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

HICON vTrayIcon;
bool vTrayShown;

HWND label(const std::string& text, HWND parent, int x, int y, int width) {
  return plainControl("static", text.c_str(), kLabel, 0, x, y, width, 20, parent);
}
HWND edit(const std::string& text, HWND parent, int x, int y, int width) {
  return plainControl("edit", text.c_str(), kEdit, kEditEx, x, y, width, 20, parent);
}

std::string lastUsed(const UserRecord& user) {
  if (user.field(kLastHour).empty())
    return "";
  return user.field(kLastHour) + ":" + user.field(kLastMinute) + " on " + user.field(kLastDay) + "/" +
         user.field(kLastMonth) + "/" + user.field(kLastYear);
}

void buildUpdateTab() {
  InvalidateRect(vPlain.main, nullptr, TRUE);
  SendMessageA(vPlain.main, WM_PAINT, 0, 0);
  const HWND page = vPlain.tabs;
  label("Account", page, 80, 60, 50);
  label("Time", page, 200, 60, 50);
  label("Last Used", page, 290, 60, 100);
  label("Machine", page, 390, 60, 50);
  for (int u = 1; u <= kUserSlots; ++u)
    label("User " + std::to_string(u), page, 10, kRowTops[u - 1], 50);
  for (int u = 1; u <= kUserSlots; ++u)
    edit(vTable.user(u).field(kAccount), page, 60, kRowTops[u - 1], 100);
  for (int u = 1; u <= kUserSlots; ++u)
    edit(vTable.user(u).field(kMinutesLeft), page, 200, kRowTops[u - 1], 34);
  for (int u = 1; u <= kUserSlots; ++u)
    label(lastUsed(vTable.user(u)), page, 270, kRowTops[u - 1], 120);
  label("Default User", page, 270, 290, 150);
  for (int u = 1; u <= kUserSlots; ++u)
    label(vTable.user(u).field(kMachine), page, 390, kRowTops[u - 1], 60);
  const HWND group = plainControl("button", "Allocation by day", kChild | WS_TABSTOP | BS_GROUPBOX, WS_EX_TRANSPARENT,
                                  460, 25, 260, 350, page);
  for (int u = 1; u <= kUserSlots; ++u) {
    for (int d = 1; d <= kDays; ++d) {
      label(kDayNames[d - 1], group, 35 * d - 25, 35, 25);
      edit(vTable.user(u).allowance(d), group, 35 * d - 25, kRowTops[u - 1] - kGroupLift, 34);
    }
  }
  for (int d = 1; d <= kDays; ++d)
    edit(vTable.defaultAllowance(d), group, 35 * d - 25, 290 - kGroupLift, 34);
}

void buildOptionsTab() {
  vPlain.optionsCheck = plainControl("button", "Allow New Users", kChild | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0,
                                     50, 50, 500, 60, vPlain.tabs);
  SendMessageA(vPlain.optionsCheck, BM_SETCHECK, newUsersAllowed(vTable) ? BST_CHECKED : BST_UNCHECKED, 0);
}

NOTIFYICONDATAA trayRecord(UINT flags) {
  NOTIFYICONDATAA record = {};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = vPlain.host;
  record.uID = 1;
  record.uFlags = flags;
  record.uCallbackMessage = kTrayMessage;
  record.hIcon = vTrayIcon;
  return record;
}

// The glyph rows as a one-bit bitmap: blanks are set bits, each row padded to whole 16-bit words.
HBITMAP glyphBitmap(const std::vector<std::string>& rows) {
  const int width = static_cast<int>(rows[0].size());
  const int rowBytes = (width + 15) / 16 * 2;
  std::vector<BYTE> bits(rowBytes * rows.size(), 0xFF);
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (int x = 0; x < width; ++x)
      if (rows[r][x] != ' ')
        bits[r * rowBytes + x / 8] &= static_cast<BYTE>(~(0x80 >> (x % 8)));
  return CreateBitmap(width, static_cast<int>(rows.size()), 1, 1, bits.data());
}

void drawTrayMinutes(int blink) {
  const bool blankPhase = blink == 1 && vSession.BlinkPhase == 0;
  const std::string minutes = vSession.currentUser ? vTable.user(vSession.currentUser).field(kMinutesLeft) : "";
  const std::vector<std::string> rows = glyphImage(glyphSlots(minutes, blankPhase));
  ICONINFO info = {TRUE, 0, 0, glyphBitmap(rows), glyphBitmap(rows)};
  const HICON replaced = vTrayIcon;
  vTrayIcon = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  if (vTrayShown) {
    NOTIFYICONDATAA record = trayRecord(NIF_ICON);
    Shell_NotifyIconA(NIM_MODIFY, &record);
  }
  if (replaced)
    DestroyIcon(replaced);
}

void trayShow() {
  NOTIFYICONDATAA record = trayRecord(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  vTrayShown = Shell_NotifyIconA(NIM_ADD, &record);
}

void divideStatusBar(const std::vector<double>& shares) {
  RECT outer;
  GetWindowRect(vPlain.main, &outer);
  const int width = outer.right - outer.left;
  std::vector<int> edges;
  int previous = 0;
  for (double share : shares)
    edges.push_back(previous += static_cast<int>(share * width));
  SendMessageA(vPlain.status, SB_SIMPLE, FALSE, 0);
  SendMessageA(vPlain.status, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void setStatusText(int pane, const std::string& text) {
  SendMessageA(vPlain.status, SB_SETTEXTA, pane - 1, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(vPlain.status, SB_SETTIPTEXTA, pane - 1, reinterpret_cast<LPARAM>(text.c_str()));
}

void startTimer(TimerOwner owner, int timerId, int intervalMs) {
  SetTimer(owner == TimerOwner::HostWindow ? vPlain.host : vPlain.main, timerId, intervalMs, nullptr);
}

void loadAppIcon() {
  const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "IDAPPLICON");
  SendMessageA(vPlain.headerIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  for (HWND window : {vPlain.main, vPlain.password}) {
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

void hideHostWindow() {
  ShowWindow(vPlain.host, SW_HIDE);
}

void messageBox(const std::string& text, const std::string& title) {
  MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), MB_OK);
}
}  // namespace

void wirePlainInterface() {
  resetUiRoutines();
  vUi.hideHostWindow = hideHostWindow;
  vUi.drawTrayMinutes = drawTrayMinutes;
  vUi.messageBox = messageBox;
  vUi.divideStatusBar = divideStatusBar;
  vUi.setStatusText = setStatusText;
  vUi.startTimer = startTimer;
  vUi.buildUpdateTab = buildUpdateTab;
  vUi.buildOptionsTab = buildOptionsTab;
  vUi.trayShow = trayShow;
  vUi.loadAppIcon = loadAppIcon;
}
