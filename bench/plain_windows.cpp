// The plain program's windows: one window procedure for the timers, the tray callback and
// closing, and the three top-level windows with their controls and menus, made as the real
// program makes them.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "accounting/program/minute_tick.h"
#include "bench/plain_program.h"

PlainWindows vPlain;
HFONT vPlainFont;
HBRUSH vPlainBackground;

namespace {
constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kEdit = kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_LEFT;
constexpr DWORD kEditEx = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOTIFY;
constexpr DWORD kPassword = kEdit | ES_PASSWORD;
constexpr UINT kTrayMessage = WM_USER + 5;
constexpr const char* kProduct = "Orrindale";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(vPlainBackground);
    case WM_TIMER:
      if (wParam == kMinuteTimer)
        DoEachMin();
      else if (wParam == kSecondTimer)
        Tic();
      return 0;
    case WM_SIZE:
      if (window == vPlain.main && vPlain.status)
        SendMessageA(vPlain.status, WM_SIZE, wParam, lParam);
      break;
    case kTrayMessage:
      if (lParam == WM_LBUTTONDOWN)
        ShowWindow(vPlain.password, SW_SHOWNORMAL);
      else if (lParam == WM_RBUTTONDOWN)
        ShowWindow(vPlain.password, SW_HIDE);
      return 0;
    case WM_CLOSE:
      if (window != vPlain.host) {
        ShowWindow(window, SW_HIDE);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (window == vPlain.host)
        PostQuitMessage(0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Every top-level window has a class of its own, as the real program's have.
HWND topLevelWindow(int number, DWORD style, int x, int y, int width, int height) {
  static std::vector<std::string> classNames;
  classNames.push_back("Plain Orrindale " + std::to_string(number));
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "appw");
  windowClass.hIconSm = windowClass.hIcon;
  windowClass.hbrBackground = vPlainBackground;
  windowClass.lpszClassName = classNames.back().c_str();
  RegisterClassExA(&windowClass);
  return CreateWindowExA(WS_EX_DLGMODALFRAME, windowClass.lpszClassName, kProduct, style, x, y, width, height, nullptr,
                         nullptr, instance, nullptr);
}

// The height of an 8-point font on this display, in pixels.
HFONT makeFont() {
  const HDC screen = GetDC(nullptr);
  const int height = 8 * GetDeviceCaps(screen, LOGPIXELSY) / 72;
  ReleaseDC(nullptr, screen);
  return CreateFontA(-height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "ms sans serif");
}

void addMenu(HMENU bar, const char* caption, const std::vector<const char*>& items, UINT& command) {
  const HMENU menu = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), caption);
  for (const char* item : items)
    AppendMenuA(menu, std::string(item) == "-" ? MF_SEPARATOR : MF_STRING, command++, item);
}

// Selecting a tab hides the controls of the pages before it.
void selectPage(int index, const std::vector<HWND>& otherPages) {
  SendMessageA(vPlain.tabs, TCM_SETCURSEL, index, 0);
  for (HWND control : otherPages)
    ShowWindow(control, SW_HIDE);
}

void addPage(int index, const char* caption) {
  std::string text = caption;
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.iImage = -1;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  SendMessageA(vPlain.tabs, TCM_INSERTITEMA, index + 1, reinterpret_cast<LPARAM>(&item));
}
}  // namespace

HWND plainControl(const char* platformClass,
                  const char* caption,
                  DWORD style,
                  DWORD exStyle,
                  int x,
                  int y,
                  int width,
                  int height,
                  HWND parent) {
  const HWND control = CreateWindowExA(exStyle, platformClass, caption, style, x, y, width, height, parent, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(vPlainFont), TRUE);
  return control;
}

void buildPlainWindows() {
  vPlainBackground = GetSysColorBrush(COLOR_BTNFACE);
  vPlainFont = makeFont();
  vPlain.host = topLevelWindow(1, WS_DLGFRAME | WS_THICKFRAME, 300, 100, 400, 170);

  vPlain.password = topLevelWindow(2, WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 300, 150);
  plainControl("button", "OK", kButton, 0, 120, 60, 50, 20, vPlain.password);
  plainControl("button", "Cancel", kButton, 0, 190, 60, 50, 20, vPlain.password);
  plainControl("edit", "", kPassword, kEditEx, 120, 20, 120, 20, vPlain.password);

  vPlain.main = topLevelWindow(3, WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 750, 600);
  vPlain.tabs =
      plainControl(WC_TABCONTROLA, "", kChild | WS_CLIPCHILDREN | WS_TABSTOP, 0, 10, 60, 730, 450, vPlain.main);
  const HMENU bar = CreateMenu();
  SetMenu(vPlain.main, bar);
  UINT command = 1;
  addMenu(bar, "&File", {"&Reload Data", "-", "E&xit"}, command);
  addMenu(bar, "&Tools", {"&Manage Data", "&Change Password"}, command);
  addMenu(bar, "&Help", {"&About Orrindale"}, command);
  vPlain.status = plainControl(STATUSCLASSNAMEA, "User: ", kChild | CCS_BOTTOM, 0, 0, 0, 0, 0, vPlain.main);
  const HWND header =
      plainControl("button", "", kChild | WS_TABSTOP | BS_GROUPBOX, WS_EX_TRANSPARENT, 10, 5, 730, 50, vPlain.main);
  vPlain.headerIcon = plainControl("static", "Icon52", kChild | SS_ICON | SS_NOTIFY, 0, 12, 12, 32, 28, header);

  addPage(0, "&Security");
  selectPage(0, {});
  const std::vector<HWND> security = {
      plainControl("edit", "", kPassword, kEditEx, 120, 60, 100, 20, vPlain.tabs),
      plainControl("edit", "", kPassword, kEditEx, 120, 120, 100, 20, vPlain.tabs),
      plainControl("edit", "", kPassword, kEditEx, 120, 160, 100, 20, vPlain.tabs),
      plainControl("button", "Apply", kButton, 0, 250, 400, 120, 40, vPlain.tabs),
  };
  addPage(1, "&Options");
  selectPage(1, security);
  const HWND optionsApply = plainControl("button", "Apply", kButton, 0, 250, 400, 120, 40, vPlain.tabs);
  addPage(2, "&Update data");
  std::vector<HWND> earlierPages = security;
  earlierPages.push_back(optionsApply);
  selectPage(2, earlierPages);
  plainControl("button", "Apply", kButton, 0, 250, 400, 120, 40, vPlain.tabs);
  plainControl("button", "Read", kButton, 0, 100, 400, 120, 40, vPlain.tabs);

  plainControl("static", "Orrindale, Version 1", kLabel, 0, 80, 15, 500, 35, vPlain.main);
  plainControl("static", "Enter password", kLabel, 0, 10, 20, 100, 20, vPlain.password);
  plainControl("static", "Old Password", kLabel, 0, 10, 60, 100, 20, vPlain.tabs);
  plainControl("static", "New Password", kLabel, 0, 10, 120, 100, 20, vPlain.tabs);
  plainControl("static", "Confirm Password", kLabel, 0, 10, 160, 100, 20, vPlain.tabs);
}
