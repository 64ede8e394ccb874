#pragma once
// The program's life on the GUI side: WinMain makes one window the main window, opens it and
// runs the message loop until that window is gone; nested loops for dialogs; processing a
// single pending message; ending the innermost loop. The loops' list is in run_state.h.
#include "gui/run_state.h"
#include "gui/showing_windows.h"

// Makes the window the main window, opens it with the style and runs the event loop; when the
// loop has ended, releases everything and returns. A window of -1 picks the main window:
// control 3 when it is a window, else the window with the highest id. Only the first call
// does anything. (The global name is the platform's entry point, which the compiler keeps
// for itself: the framework's lives in a namespace and is brought in by name.)
namespace w32 {
void WinMain(const WindowRef& target, const ShowStyle& style);
}
using w32::WinMain;

// Waits for and dispatches the thread's messages until its flag is set, the quit message
// arrives or the framework stops running. Nested calls nest.
void eventLoop();

// Dispatches at most one pending message: of the control's window, or of any window for 0.
void doEvents(int id);

// Ends the innermost running event loop after its current message; the id names the window
// on whose behalf it ends, and must be valid.
void quitWindow(int id);

// Opens the window as a dialog and returns once it has been closed.
void openDialog(const WindowRef& target);
