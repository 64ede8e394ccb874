#pragma once
// The program's own tray icon: the minutes left drawn as digits into a new icon (blank every
// other second when time is short), the tooltip and the clicks on the icon, and the fixed
// application icon on the program's windows.
#include <string>
#include <vector>

// The icon number of the program's one tray icon, from tray_add.
extern int TrayNo;
// The icon loaded from the program's resources.
extern int AppIcon;

// Redraws the tray icon from the current user's minutes left; with blink 1 and BlinkPhase 0
// it shows a blank instead.
void draw_tray_minutes(int blink);
// A new icon of the pixel rows (blank = background) at their own size, which the shell scales
// to its icon size: black digits on an opaque white plate.
int icon_from_rows(const std::vector<std::string>& rows);
// The tooltip from the current user's minutes left, the end of the allowed hours when it comes
// first, and a request for more time that waits for an answer.
void refreshTrayTip();
// Refreshes the tooltip; a left click shows PasswordWindow, a right click hides it and then shows
// the tray's menu.
void onsystray(int icon, int mouseMessage);
// Loads "IDAPPLICON" and sets it on the icon control, MainWindow and PasswordWindow. A
// system without user32, gdi32 or LoadIconA ends the program.
void load_app_icon();
