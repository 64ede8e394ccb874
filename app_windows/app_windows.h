#pragma once
// The application's top level: the ids of the windows and controls that live for the whole
// run, build_windows that creates them and wires every handler, and the menu commands of
// the administration window.
#include "gui/event_types.h"

extern int HostWindow, PasswordWindow, PwOK, PwCancel, PwEdit;
extern int MainWindow, TabCtl, FileMenu, ReloadItem, ExitItem, ToolsMenu, ManageItem, ChangePwItem;
extern int HelpMenu, AboutItem, MainStatus, HeaderGroup, AppIconCtl;
extern int TabSecurity, OldPwEdit, NewPwEdit, ConfirmPwEdit, SecurityApply;
extern int TabOptions, OptionsApply, TabUpdate, UpdateApply, ReadButton;

// Creates every window and control, attaches the handlers and runs the event loop with
// HostWindow; when the loop ends, logs the run's end and returns.
void build_windows();

// Menu commands.
void ToolAbout(int self, int event, const EventParams& params);
void manage(int self, int event, const EventParams& params);
void passwd(int self, int event, const EventParams& params);
void exit_prog(int self, int event, const EventParams& params);

// Points the accounting core's interface routines at the real windows, tray and boxes.
void wireAccountingInterface();
