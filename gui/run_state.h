#pragma once
// The framework's run state: before the event loop starts, while it runs, and after every
// resource has been released, and the event loops running now. The windows-and-loop unit moves
// it on; opening a window reads how deep the loops are.
#include <vector>

constexpr int kNotStarted = 0;
constexpr int kStarted = 1;
constexpr int kFinished = 2;

extern int vWinMainState;

// One flag per running event loop, innermost last: 0 keeps it running, 1 ends it after the
// message it is dispatching.
extern std::vector<int> ActiveEL;
int runningEventLoops();
