#include "tests/support/sim_clock.h"

namespace sim_clock {
namespace {
long long vNow = 0;
long long vStart = 0;
std::function<void(long long)> vHook;

rt::LocalTime simLocalNow() {
  return rt::calendarTime(vNow);
}
long long simSeconds() {
  return vNow;
}
void simSleep(int seconds) {
  vNow += seconds;
  if (vHook)
    vHook(vNow - vStart);
}
}  // namespace

void install(int year, int month, int day, int hour, int minute, int second) {
  vNow = vStart = rt::secondsOf(year, month, day, hour, minute, second);
  vHook = nullptr;
  rt::setClock({simLocalNow, simSeconds, simSleep});
}

void uninstall() {
  vHook = nullptr;
  rt::setClock(rt::systemClock());
}

void advance(long long seconds) {
  vNow += seconds;
}

long long now() {
  return vNow;
}

void onSleep(std::function<void(long long)> hook) {
  vHook = std::move(hook);
}

}  // namespace sim_clock
