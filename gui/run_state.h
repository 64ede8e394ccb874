#pragma once
// The framework's run state: before the event loop starts, while it runs, and after every
// resource has been released. The windows-and-loop unit moves it on.
constexpr int kNotStarted = 0;
constexpr int kStarted = 1;
constexpr int kFinished = 2;

extern int vWinMainState;
