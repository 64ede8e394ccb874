// WinMain runs once per process: each case runs in a child process of its own and reports
// what it saw on the error output.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "gui/creation.h"
#include "gui/destroy.h"
#include "gui/event_loop.h"
#include "gui/framework.h"
#include "gui/handlers.h"
#include "gui/run_state.h"
#include "support/w32msgs.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/gui_windows/windows_fixture.h"

namespace {

class StartedFramework : public testing::Environment {
 public:
  void SetUp() override { startFramework(); }
};

[[maybe_unused]] testing::Environment* const vEnvironment = testing::AddGlobalTestEnvironment(new StartedFramework);

int vOpened = 0;
int vDestroyed = 0;
int vCleanUps = 0;

void closeOnActivate(int self, int, const EventParams&) {
  vOpened = self;
  PostMessageA(hwndOf(self), WM_CLOSE, 0, 0);
}

void countDestroy(int, int, const EventParams&) {
  ++vDestroyed;
  std::fputs("destroyed\n", stderr);
}

int countCleanUp(int, const std::string&, int, bool) {
  ++vCleanUps;
  return 0;
}

[[noreturn]] void report(const char* format, int a, int b) {
  std::fprintf(stderr, format, a, b);
  std::fflush(stderr);
  std::exit(0);
}

void runChoosingTheMainWindow(bool controlThreeIsAWindow) {
  const int three = newWindow();
  const int next = newWindow();
  const int after = newWindow();
  const int highest = std::max(next, after);
  if (!controlThreeIsAWindow)
    destroy(three);
  setHandler({three, next, after}, w32HActivate, closeOnActivate);
  Watchdog watchdog;
  WinMain(-1, 0);
  report("opened %d expected %d\n", vOpened, controlThreeIsAWindow ? three : highest);
}

}  // namespace

TEST(WinMainDeathTest, MinusOneChoosesControlThreeWhenItIsAWindow) {
  EXPECT_EXIT(runChoosingTheMainWindow(true), testing::ExitedWithCode(0), "opened 3 expected 3");
}

TEST(WinMainDeathTest, MinusOneOtherwiseChoosesTheWindowWithTheHighestId) {
  EXPECT_EXIT(runChoosingTheMainWindow(false), testing::ExitedWithCode(0), "opened 18 expected 18");
}

namespace {

void runToTheEnd() {
  const int mainWindow = newWindow("main");
  const int other = newWindow("other");
  setHandler(mainWindow, w32HActivate, closeOnActivate);
  setHandler(other, w32HDestroy, countDestroy);
  attachCleanUp(countCleanUp);
  {
    Watchdog watchdog;
    WinMain(mainWindow, SW_SHOWMINIMIZED);
    if (watchdog.fired())
      report("the loop did not end%d%d\n", 0, 0);
  }
  std::fprintf(stderr, "state %d main %d other %d\n", vWinMainState, validId(mainWindow), validId(other));

  libCleanUp(0, "", 1, true);
  std::fprintf(stderr, "destroyed %d, clean-ups %d, still attached %d\n", vDestroyed, vCleanUps,
               detachCleanUp(libCleanUp) != -1);

  const int late = newWindow("late");
  setHandler(late, w32HOpen, closeOnActivate);
  vOpened = 0;
  openWindow(late, 0);
  report("late window opened %d shown %d\n", vOpened, shows(late));
}

HWND vReleased[2];

// Runs after the framework's own clean-up.
int countWindowsLeft(int, const std::string&, int, bool) {
  std::fprintf(stderr, "windows left %d\n", IsWindow(vReleased[0]) + IsWindow(vReleased[1]));
  return 0;
}

void runIntoAFatalError() {
  const int window = newWindow();
  const int modal = newWindow("modal");
  vReleased[0] = hwndOf(window);
  vReleased[1] = hwndOf(modal);
  detachCleanUp(libCleanUp);
  attachCleanUp(countWindowsLeft);
  attachCleanUp(libCleanUp);
  openWindow(window, 0);
  openWindow(modal, "modal");
  DialogAnswerer answerer("Larkspur AppWindow - Fatal Error", IDOK);
  abortErr("the test ends here");
}

}  // namespace

TEST(WinMainDeathTest, ClosingTheMainWindowEndsTheLoopAndReleasesEverythingOnce) {
  EXPECT_EXIT(runToTheEnd(), testing::ExitedWithCode(0),
              "destroyed\n"
              "state 2 main 0 other 0\n"
              "destroyed 1, clean-ups 1, still attached 0\n"
              "late window opened 0 shown 0\n");
}

TEST(WinMainDeathTest, AFatalErrorReleasesEveryWindowEvenWithAModalWindowOpen) {
  EXPECT_EXIT(runIntoAFatalError(), testing::ExitedWithCode(1), "windows left 0\n");
}
