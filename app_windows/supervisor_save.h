#pragma once
// The supervisor's changes from the administration window: the changed cells, or an account's
// allowed hours, handed to where the table lives with the password that opened the gate, a
// message box when they were not kept, and that password itself, kept only while the window is open.
#include <string>
#include <vector>

#include "accounting/hours/allowed_hours.h"
#include "accounting/table/table_cells.h"
#include "gui/event_types.h"

// The message when the guard of a protected install does not answer.
constexpr const char* kNoGuard = "The Orrindale guard service does not answer; nothing was changed";

// The gate opened with the password.
void rememberGatePassword(const std::string& typed);
// MainWindow closes: the password that opened the gate is forgotten (and its bytes overwritten),
// so that the window shown again from outside saves nothing in a protected install.
void forgetGatePassword(int self, int event, const EventParams& params);

// Saves the cells with the password that opened the gate (or the one given); false, after a
// message box with the title, when they were not kept.
bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title);
bool saveAsSupervisor(const std::vector<Cell>& cells, const std::string& title, const std::string& password);
// The same for the allowed hours of the account, "" for the default.
bool saveHoursAsSupervisor(const std::string& account, const AllowedHours& hours, const std::string& title);
