#pragma once
// What a user does with the real program, from outside: the tray click and its menu, the
// password at the gate, a minute tick sent to the host window, a message box answered, the
// cells of the Update data grid and the Hours page found on screen, and a balloon the shell
// shows. Shared by the end-to-end and the installer tests.
#include <windows.h>

#include <string>

#include "tests/e2e/orrindale_process.h"

constexpr int kHostWindow = 1;
constexpr int kPasswordWindow = 2;
constexpr int kMainWindow = 3;
constexpr int kAskWindow = 4;
constexpr int kAnswerWindow = 5;
constexpr int kTrayCallback = 0x0405;

// Left click on the tray icon; true once PasswordWindow shows.
bool showPasswordWindow(OrrindaleProcess& program);
// Left click on the tray icon, the password and Enter; true once MainWindow shows.
bool openAdministration(OrrindaleProcess& program, const std::string& password);
// Types the password into the shown PasswordWindow and submits it with Enter or OK; true once
// MainWindow shows.
bool submitPassword(OrrindaleProcess& program, const std::string& password, bool withOkButton);
void minuteTick(OrrindaleProcess& program);
// Right click on the tray icon and the item's key in the menu it opens; true once the window of
// that number shows.
bool chooseFromTrayMenu(OrrindaleProcess& program, char itemKey, int window);
// The balloon with the text that the shell shows (a tool tip window of another process than the
// program's), nullptr while there is none.
HWND shownBalloon(OrrindaleProcess& program, const std::string& text);
// Answers the box titled title in the program and returns its text ("" when none came).
std::string answerBox(OrrindaleProcess& program, const std::string& title);
// The Update data grid's edit of a user row: column 0 the account, 1 the time, 2 to 8 the
// weekdays from Sunday; nullptr while the tab is not shown.
HWND gridCell(HWND main, int slot, int column);
// Brings the Hours tab, right of Update data, to the front; true once its choices of account show.
bool showHoursPage(HWND main);
// The Hours page's edit of a weekday, 0 for Sunday; nullptr while the page is not shown.
HWND hoursDayEdit(HWND main, int weekday);
