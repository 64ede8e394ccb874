#include "gui/event_loop.h"

#include <windows.h>

#include "gui/control_state.h"
#include "gui/framework.h"
#include "gui/handlers.h"
#include "gui/run_state.h"
#include "support/hot_path.h"
#include "support/w32dll.h"
#include "support/w32memset.h"

namespace {

// The application's first control gets id 3; only windows can be the main window.
constexpr int kFirstAppId = 3;

int chooseMainWindow() {
  if (isWindowControl(kFirstAppId))
    return kFirstAppId;
  for (int id = controlCount(); id > kFirstAppId; --id)
    if (isWindowControl(id))
      return id;
  return 0;
}

// The quit message belongs to the outermost loop: a nested loop or a single dispatch that
// takes it off the queue puts it back, so that the program still ends.
void repostQuit(const MSG& message) {
  w32Proc(rtn::PostQuitMessage, {static_cast<int>(message.wParam)});
}

}  // namespace

void w32::WinMain(const WindowRef& target, const ShowStyle& style) {
  if (vWinMainState != kNotStarted)
    return;
  vWinMainState = kStarted;

  WindowRef opened = target;
  if (!opened.byName && opened.window == -1)
    opened.window = chooseMainWindow();
  const int window = opened.byName ? getNameId(opened.name) : opened.window;
  setMainWindow(window);
  // The main window's frame stays on the invocation stack for the program's life.
  pushHandlerFrame(window);

  openWindow(opened, style);
  eventLoop();
  if (window != 0)
    releaseAll(kReleaseAtEnd);
}

HOT_PATH void eventLoop() {
  ActiveEL.push_back(0);
  const std::size_t mine = ActiveEL.size() - 1;
  const int set = w32new_memset();
  auto* message = static_cast<MSG*>(w32acquire_mem(set, sizeof(MSG)));

  while (message && ActiveEL[mine] == 0 && vWinMainState == kStarted) {
    const int got = w32Call(rtn::GetMessageA, message, 0, 0, 0);
    if (got == 0 && mine > 0)
      repostQuit(*message);
    if (got == 0 || got == -1)
      break;
    w32Call(rtn::TranslateMessage, message);
    w32Call(rtn::DispatchMessageA, message);
  }

  w32release_mem(set);
  ActiveEL.pop_back();
}

void doEvents(int id) {
  if (vWinMainState != kStarted || (id != 0 && !validId(id)))
    return;
  MSG message = {};
  const int hWnd = id == 0 ? 0 : getHandle(id);
  if (w32Func(rtn::PeekMessageA, {&message, hWnd, 0, 0, PM_REMOVE}) == 0)
    return;
  if (message.message == WM_QUIT) {
    repostQuit(message);
    return;
  }
  w32Func(rtn::TranslateMessage, {&message});
  w32Func(rtn::DispatchMessageA, {&message});
}

void quitWindow(int id) {
  if (validId(id) && !ActiveEL.empty())
    ActiveEL.back() = 1;
}

void openDialog(const WindowRef& target) {
  const int window = target.byName ? getNameId(target.name) : target.window;
  if (!isWindowControl(window))
    return;
  openWindow(target, kDialogStyle);
  eventLoop();
  closeWindow(window);
}
