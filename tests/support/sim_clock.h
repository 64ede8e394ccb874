#pragma once
// A simulated clock for tests: local time and the seconds counter come from one number
// that only sleeping (or the test) advances, so a minute of lock retries takes no time.
#include <functional>

#include "runtime/clock.h"

namespace sim_clock {

// Installs the simulated clock at the given local time.
void install(int year, int month, int day, int hour, int minute, int second = 0);
void uninstall();

void advance(long long seconds);
long long now();

// Called after every simulated sleep with the seconds since install; tests use it to let
// go of a lock or to count retries.
void onSleep(std::function<void(long long elapsed)> hook);

}  // namespace sim_clock
