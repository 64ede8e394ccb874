#include "accounting/program/ui_routines.h"

namespace {
void noWindow() {}
void noTray(int) {}
void noBox(const std::string&, const std::string&) {}
void noPanes(const std::vector<double>&) {}
void noStatus(int, const std::string&) {}
void noTimer(TimerOwner, int, int) {}

constexpr UiRoutines kNoInterface{noWindow, noTray,   noBox,    noPanes,  noStatus, noTimer,
                                  noWindow, noWindow, noWindow, noWindow, noBox};
}  // namespace

UiRoutines vUi = kNoInterface;

void resetUiRoutines() {
  vUi = kNoInterface;
}
