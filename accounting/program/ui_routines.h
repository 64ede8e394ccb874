#pragma once
// The user-interface effects of the accounting core, as routine references: the
// application points them at its real windows, tray icon and message boxes at start-up,
// tests at recording fakes. Until then every routine does nothing.
#include <string>
#include <vector>

constexpr const char* kProductName = "Orrindale";

// The two windows that own the core's timers.
enum class TimerOwner { HostWindow, MainWindow };

struct UiRoutines {
  void (*hideHostWindow)();
  void (*drawTrayMinutes)(int blink);
  // A modal box with one OK button; returns when it is dismissed.
  void (*messageBox)(const std::string& text, const std::string& title);
  // Splits the main status bar into panes, each a share of its width.
  void (*divideStatusBar)(const std::vector<double>& shares);
  void (*setStatusText)(int pane, const std::string& text);
  void (*startTimer)(TimerOwner owner, int timerId, int intervalMs);
  void (*buildUpdateTab)();
  void (*buildOptionsTab)();
  void (*trayShow)();
  void (*loadAppIcon)();
  // A balloon from the tray icon with a title and a text; it goes by itself.
  void (*showBalloon)(const std::string& title, const std::string& text);
};

extern UiRoutines vUi;

// Puts every routine back to doing nothing.
void resetUiRoutines();
