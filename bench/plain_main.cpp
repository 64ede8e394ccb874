// The plain program: the same start as the real one (windows, then the accounting start-up
// while the host window opens, then the message loop), with nothing between it and Win32.
#include <windows.h>

#include <commctrl.h>

#include "accounting/program/startup.h"
#include "accounting/table/usage_table.h"
#include "bench/plain_program.h"
#include "runtime/processes.h"

int main(int argc, char** argv) {
  rt::setArguments(argc, argv);
  InitCommonControls();
  buildPlainWindows();
  resetSession();
  wirePlainInterface();
  Startup();
  ShowWindow(vPlain.host, SW_SHOWMINIMIZED);
  InvalidateRect(vPlain.host, nullptr, TRUE);
  UpdateWindow(vPlain.host);
  SetFocus(vPlain.host);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
