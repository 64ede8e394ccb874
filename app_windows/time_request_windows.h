#pragma once
// Asking for more time from the tray and answering at the same computer: the tray icon's menu,
// the window in which the account asks for 15, 30 or 60 minutes with a note, and the window in
// which the supervisor approves or refuses the waiting request with the supervisor password.
// They are made, with their handlers, the first time the menu is asked for, so that a start
// makes none of them.

// The tray's menu at the mouse pointer ("Answer request..." only while a request waits), until
// an item is chosen or the menu is left. The first call makes the menus and both windows, which
// are "Larkspur AppWindow 4" (asking) and 5 (answering).
void showTrayMenu();
