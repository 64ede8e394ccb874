// The framework started, and its run state that of a running program, so that tests can
// open windows and run event loops of their own without WinMain.
#include <gtest/gtest.h>

#include "gui/framework.h"
#include "gui/run_state.h"

namespace {

class RunningFramework : public testing::Environment {
 public:
  void SetUp() override {
    startFramework();
    vWinMainState = kStarted;
  }
};

[[maybe_unused]] testing::Environment* const vEnvironment = testing::AddGlobalTestEnvironment(new RunningFramework);

}  // namespace
