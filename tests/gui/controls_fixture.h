#pragma once
// Starts the framework for the control tests and reads back what the platform really shows:
// native handles, styles, window texts, positions and status-bar panels.
#include <windows.h>

#include <string>
#include <vector>

HWND hwndOf(int id);
LONG styleOf(int id);
LONG exStyleOf(int id);
std::string nativeText(int id);
// The control's outer rectangle in its native parent's client coordinates.
RECT placeOf(int id);
RECT clientOf(int id);
// A shown top-level window of that outer size, made with create.
int shownWindow(int width, int height);
// The right edges of a status bar's panels, as the status bar holds them.
std::vector<int> panelEdges(int statusBar);
std::string panelText(int statusBar, int panel);
// A window of this thread of the named class (the desktop has tool tips and menus of its own).
HWND ownWindowOfClass(const char* className);
