#pragma once
// A recording stand-in for the application's interface routines: every call the core
// makes becomes a line of text, and a test can run code while a message box is "open".
#include <functional>
#include <string>
#include <vector>

namespace recording_ui {

// Points the core's interface routines at the recorder and clears the record.
void install();

// "hide", "tray 0", "box TITLE|TEXT", "panes 0.2 0.6 0.2", "status 1 TEXT",
// "timer host 1 60000", "timer main 2 1000", "update tab", "options tab", "tray show", "app icon".
const std::vector<std::string>& calls();
// The recorded calls that begin with the prefix.
std::vector<std::string> callsStartingWith(const std::string& prefix);
void clear();

// Runs while a message box is shown, as the timers do under a real modal box.
void whileBoxIsOpen(std::function<void()> action);

}  // namespace recording_ui
