#include "gui/run_state.h"

int vWinMainState = kNotStarted;
std::vector<int> ActiveEL;

int runningEventLoops() {
  return static_cast<int>(ActiveEL.size());
}
