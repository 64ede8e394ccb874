#pragma once
// The yardstick of the start-up benchmark: the program written straight against the Win32
// API, without the framework. It makes the same windows, controls and menus at the same
// places with the same styles and runs the same accounting core, so that the two differ
// only in the framework's own work.
#include <windows.h>

// The windows and controls the accounting core's routines act on.
struct PlainWindows {
  HWND host;
  HWND password;
  HWND main;
  HWND status;
  HWND tabs;
  HWND headerIcon;
  HWND optionsCheck;
};
extern PlainWindows vPlain;

// The one font every control shows, made once.
extern HFONT vPlainFont;
// The brush the windows and transparent controls are painted with.
extern HBRUSH vPlainBackground;

// Creates the three top-level windows and everything on them, in the program's order.
void buildPlainWindows();

// A child control with the font set, as every control of the program is made.
HWND plainControl(const char* platformClass,
                  const char* caption,
                  DWORD style,
                  DWORD exStyle,
                  int x,
                  int y,
                  int width,
                  int height,
                  HWND parent);

// Points the accounting core's interface routines at these windows.
void wirePlainInterface();
