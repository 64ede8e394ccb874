// The accounting core's interface routines in the real program: hiding the host window, the
// message box, the status bar, the timers and the tray icon with its balloon, put in place by
// wireAccountingInterface.
#include <windows.h>

#include "accounting/program/ui_routines.h"
#include "app_windows/app_windows.h"
#include "app_windows/manage_data.h"
#include "app_windows/tray.h"
#include "app_windows/tray_minutes.h"
#include "gui/control_text.h"
#include "gui/message_box.h"
#include "gui/showing_windows.h"
#include "gui/status_bar.h"
#include "gui/timers.h"
#include "support/hot_path.h"

namespace {
HOT_PATH void hideHostWindow() {
  showWindow(HostWindow, SW_HIDE);
}

void okBox(const std::string& text, const std::string& title) {
  message_box(text, title, 0u);
}

void divideStatusBar(const std::vector<double>& shares) {
  setSubFields(MainStatus, PanelLayout(shares.begin(), shares.end()));
}

HOT_PATH void setStatusText(int pane, const std::string& text) {
  setText({MainStatus, pane}, text);
}

void startTimer(TimerOwner owner, int timerId, int intervalMs) {
  setWindowTimer(owner == TimerOwner::HostWindow ? HostWindow : MainWindow, timerId, intervalMs);
}

void trayShow() {
  tray_show(TrayNo);
}

// The balloon tells of an answer: the tooltip stops saying that the request waits.
void trayBalloon(const std::string& title, const std::string& text) {
  tray_balloon(TrayNo, {title, text});
  refreshTrayTip();
}
}  // namespace

void wireAccountingInterface() {
  vUi = {hideHostWindow,   draw_tray_minutes, okBox,    divideStatusBar, setStatusText, startTimer,
         build_update_tab, build_options_tab, trayShow, load_app_icon,   trayBalloon};
}
