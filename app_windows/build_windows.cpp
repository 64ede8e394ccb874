// The application's windows: the ids of the controls that live for the whole run, build_windows
// that creates the host, password and administration windows, attaches every handler and runs
// the event loop, and the menu commands.
#include <windows.h>

#include "accounting/program/minute_tick.h"
#include "accounting/log/run_lines.h"
#include "accounting/program/startup.h"
#include "accounting/table/usage_table.h"
#include "app_windows/app_constants.h"
#include "app_windows/app_windows.h"
#include "app_windows/manage_data.h"
#include "app_windows/password_gate.h"
#include "app_windows/supervisor_save.h"
#include "app_windows/tray.h"
#include "app_windows/tray_minutes.h"
#include "gui/class_table.h"
#include "gui/control_state.h"
#include "gui/creation.h"
#include "gui/event_loop.h"
#include "gui/handlers.h"
#include "gui/message_box.h"
#include "runtime/processes.h"
#include "support/hot_path.h"

int HostWindow, PasswordWindow, PwOK, PwCancel, PwEdit;
int MainWindow, TabCtl, FileMenu, ReloadItem, ExitItem, ToolsMenu, ManageItem, ChangePwItem;
int HelpMenu, AboutItem, MainStatus, HeaderGroup, AppIconCtl;
int TabSecurity, OldPwEdit, NewPwEdit, ConfirmPwEdit, SecurityApply;
int TabOptions, OptionsApply, TabUpdate, UpdateApply, ReadButton;

namespace {
constexpr unsigned kPasswordMask = ES_PASSWORD;

void createPasswordWindow() {
  PasswordWindow = createEx(Window, ProductName, 0, Default, Default, 300, 150, 0, 0);
  PwOK = createEx(PushButton, "OK", PasswordWindow, 120, 60, 50, 20, 0, 0);
  PwCancel = createEx(PushButton, "Cancel", PasswordWindow, 190, 60, 50, 20, 0, 0);
  PwEdit = createEx(EditText, "", PasswordWindow, 120, 20, 120, 20, kPasswordMask, 0);
}

void createMainWindow() {
  MainWindow = create(Window, ProductName, 0, Default, Default, 750, 600, 0);
  TabCtl = create(TabControl, "", MainWindow, 10, 60, 730, 450, 0);
  FileMenu = create(Menu, "&File", MainWindow, 0, 0, 0, 0, 0);
  ReloadItem = create(MenuItem, "&Reload Data", FileMenu, 0, 0, 0, 0, 0);
  create(MenuItem, "-", FileMenu, 0, 0, 0, 0, 0);
  ExitItem = create(MenuItem, "E&xit", FileMenu, 0, 0, 0, 0, 0);
  ToolsMenu = create(Menu, "&Tools", MainWindow, 0, 0, 0, 0, 0);
  ManageItem = create(MenuItem, "&Manage Data", ToolsMenu, 0, 0, 0, 0, 0);
  ChangePwItem = create(MenuItem, "&Change Password", ToolsMenu, 0, 0, 0, 0, 0);
  HelpMenu = create(Menu, "&Help", MainWindow, 0, 0, 0, 0, 0);
  AboutItem = create(MenuItem, "&About Orrindale", HelpMenu, 0, 0, 0, 0, 0);
  MainStatus = createEx(StatusBar, "User: ", MainWindow, 0, 0, 0, 0, 0, 0);
  HeaderGroup = createEx(Group, "", MainWindow, 10, 5, 730, 50, 0, 0);
  AppIconCtl = createEx(Icon, "Icon52", HeaderGroup, 12, 12, 32, 28, 0, 0);

  TabSecurity = create(TabItem, "&Security", TabCtl, 10, 10, 200, 200, 0);
  OldPwEdit = createEx(EditText, "", TabSecurity, 120, 60, 100, 20, kPasswordMask, 0);
  NewPwEdit = createEx(EditText, "", TabSecurity, 120, 120, 100, 20, kPasswordMask, 0);
  ConfirmPwEdit = createEx(EditText, "", TabSecurity, 120, 160, 100, 20, kPasswordMask, 0);
  SecurityApply = create(PushButton, "Apply", TabSecurity, 250, 400, 120, 40, 0);
  TabOptions = create(TabItem, "&Options", TabCtl, 10, 10, 500, 200, 0);
  OptionsApply = create(PushButton, "Apply", TabOptions, 250, 400, 120, 40, 0);
  TabUpdate = create(TabItem, "&Update data", TabCtl, 10, 10, 500, 200, 0);
  UpdateApply = create(PushButton, "Apply", TabUpdate, 250, 400, 120, 40, 0);
  ReadButton = create(PushButton, "Read", TabUpdate, 100, 400, 120, 40, 0);
}

void createLabels() {
  create(LText, HeaderText, MainWindow, 80, 15, 500, 35, 0);
  create(LText, "Enter password", PasswordWindow, 10, 20, 100, 20, 0);
  create(LText, "Old Password", TabSecurity, 10, 60, 100, 20, 0);
  create(LText, "New Password", TabSecurity, 10, 120, 100, 20, 0);
  create(LText, "Confirm Password", TabSecurity, 10, 160, 100, 20, 0);
}

// The accounting core's routines take no event arguments.
HOT_PATH void onSecondTimer(int, int, const EventParams&) {
  Tic();
}
void onHostOpen(int, int, const EventParams&) {
  Startup();
}
void onMinuteTimer(int, int, const EventParams&) {
  DoEachMin();
}
// The session is ending (a log-off or a shut-down): the run's end line is written and the
// process ends now, as the system would end it next. Any program of the account can send this
// message, so the line is never written by a copy that then goes on running.
void onHostMessage(int, int, const EventParams& params) {
  if (params.size() >= 2 && params[0] == WM_ENDSESSION && params[1] != FALSE) {
    logProcessEnded();
    rt::exitProcess(0);
  }
}

void attachHandlers() {
  setHandler(OptionsApply, w32HClick, Update_Options);
  setHandler(SecurityApply, w32HClick, pwchange_Button);
  setHandler(UpdateApply, w32HClick, datchange_Button);
  setHandler(ReadButton, w32HClick, read_Button);
  setHandler(ReloadItem, w32HClick, read_Button);
  setHandler(PwOK, w32HClick, Click_Button);
  setHandler(PasswordWindow, w32HGotFocus, Password);
  setHandler(PwEdit, w32HKeyPress, penter);
  setHandler(AboutItem, w32HClick, ToolAbout);
  setHandler(ManageItem, w32HClick, manage);
  setHandler(ChangePwItem, w32HClick, passwd);
  setHandler(ExitItem, w32HClick, exit_prog);
  setHandler(PwCancel, w32HClick, Exitpass);
  setHandler(MainWindow, w32HClose, forgetGatePassword);
  tray_set_handler(TrayNo, onsystray);
  setHandler(MainWindow, w32HTimer, onSecondTimer);
  setHandler(HostWindow, w32HOpen, onHostOpen);
  setHandler(HostWindow, w32HTimer, onMinuteTimer);
  setHandler(HostWindow, w32HEvent, onHostMessage);
}
}  // namespace

void ToolAbout(int, int, const EventParams&) {
  message_box(std::string(ProductName) + "\n" + VersionText, "About", 0u);
}

void manage(int, int, const EventParams&) {
  setFocus(TabUpdate);
}

void passwd(int, int, const EventParams&) {
  setFocus(TabSecurity);
}

void exit_prog(int, int, const EventParams&) {
  closeWindow(MainWindow);
}

void build_windows() {
  changeClassDefaults(Window, {{CCflags, std::vector<std::uint32_t>{WS_SYSMENU}},
                               {CCexflags, std::vector<std::uint32_t>{WS_EX_DLGMODALFRAME}}});
  HostWindow =
      createEx(Window, ProductName, 0, 300, 100, 400, 170, {WS_DLGFRAME, WS_THICKFRAME}, {WS_EX_DLGMODALFRAME});
  TrayNo = tray_add(HostWindow);
  resetSession();
  createPasswordWindow();
  createMainWindow();
  createLabels();
  attachHandlers();
  wireAccountingInterface();
  WinMain(HostWindow, SW_SHOWMINIMIZED);
  logProcessEnded();  // the host window has closed
}
