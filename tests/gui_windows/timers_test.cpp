// Timers: restarting one, each reaching only its own window after Screen's handlers, and a
// closed window's timer that keeps firing.
#include "gui/timers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "gui/control_state.h"
#include "gui/handlers.h"
#include "gui/showing_windows.h"
#include "tests/gui_windows/windows_fixture.h"

namespace {

constexpr int kShortMs = 20;

class TimersTest : public testing::Test {
 protected:
  void SetUp() override { vCalls.clear(); }
  void TearDown() override { setHandler(Screen, w32HTimer, {kClearHandlers}); }
};

}  // namespace

TEST_F(TimersTest, RestartingATimerKeepsOneTimerWithTheNewInterval) {
  const int window = newWindow();
  setHandler(window, w32HTimer, record<'t'>);
  setWindowTimer(window, 1, 600000);
  setWindowTimer(window, 1, kShortMs);
  ASSERT_TRUE(pumpUntil([] { return vCalls.size() >= 2; }));
  for (const Call& call : vCalls)
    EXPECT_EQ(call, (Call{'t', window, w32HTimer, {1}}));
  EXPECT_TRUE(KillTimer(hwndOf(window), 1));
  EXPECT_FALSE(KillTimer(hwndOf(window), 1)) << "a second timer was left running";
}

TEST_F(TimersTest, EachTimerReachesOnlyItsOwnWindowAfterScreensHandlers) {
  const int first = newWindow("first");
  const int second = newWindow("second");
  setHandler({first, second}, w32HTimer, record<'w'>);
  setHandler(Screen, w32HTimer, record<'S'>);
  setWindowTimer(first, 1, kShortMs);
  setWindowTimer(second, 2, kShortMs);
  ASSERT_TRUE(
      pumpUntil([&] { return callsOf(first, w32HTimer).size() >= 4 && callsOf(second, w32HTimer).size() >= 4; }));
  KillTimer(hwndOf(first), 1);
  KillTimer(hwndOf(second), 2);

  for (std::size_t i = 0; i < vCalls.size(); i += 2) {
    const Call& global = vCalls[i];
    const int expected = global.self == first ? 1 : 2;
    EXPECT_EQ(global, (Call{'S', global.self, w32HTimer, {expected}}));
    ASSERT_LT(i + 1, vCalls.size());
    EXPECT_EQ(vCalls[i + 1], (Call{'w', global.self, w32HTimer, {expected}}));
  }
}

TEST_F(TimersTest, AClosedWindowsTimerKeepsFiring) {
  const int window = newWindow();
  openWindow(window, 0);
  closeWindow(window);
  ASSERT_FALSE(shows(window));
  setHandler(window, w32HTimer, record<'t'>);
  setWindowTimer(window, 7, kShortMs);
  EXPECT_TRUE(pumpUntil([] { return vCalls.size() >= 3; }));
  KillTimer(hwndOf(window), 7);
}
