// A small program on the framework: a window with a menu, a tab control whose two pages hold
// an edit field and a button, and a status bar. The button copies the edit field's text into
// the status bar; File > Exit closes the window, which ends the program.
#include <windows.h>

#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/creation.h"
#include "gui/event_loop.h"
#include "gui/framework.h"
#include "gui/handlers.h"

namespace {

int vWindow = 0;
int vEdit = 0;
int vStatus = 0;

void copyText(int, int, const EventParams&) {
  setText(vStatus, "Copied: " + getText(vEdit));
}

void exitSample(int, int, const EventParams&) {
  closeWindow(vWindow);
}

}  // namespace

int main() {
  startFramework();
  vWindow = create(Window, "Framework sample", 0, Default, Default, 420, 320, 0);
  const int fileMenu = create(Menu, "&File", vWindow, 0, 0, 0, 0, 0);
  const int exitItem = create(MenuItem, "E&xit", fileMenu, 0, 0, 0, 0, 0);
  const int tabs = create(TabControl, "", vWindow, 10, 10, 390, 220, 0);
  const int textPage = create(TabItem, "&Text", tabs, 0, 0, 0, 0, 0);
  vEdit = create(EditText, "", textPage, 20, 40, 200, 24, 0);
  const int buttonPage = create(TabItem, "&Button", tabs, 0, 0, 0, 0, 0);
  const int copyButton = create(PushButton, "&Copy", buttonPage, 20, 40, 100, 28, 0);
  vStatus = create(StatusBar, "Ready", vWindow, 0, 0, 0, 0, 0);

  setHandler(exitItem, w32HClick, exitSample);
  setHandler(copyButton, w32HClick, copyText);
  setFocus(textPage);
  WinMain({vWindow, vEdit}, SW_SHOWNORMAL);
  return 0;
}
