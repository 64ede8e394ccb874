#pragma once
// The administration grid on the Update data tab (six user slots with their minutes, last use,
// machine and weekday allowances, and the default allowances of new users) and the "Allow New
// Users" check box on the Options tab: built once at start-up, reloaded and applied on request.
#include <array>
#include <string>

#include "accounting/table/usage_table.h"
#include "gui/event_types.h"

extern std::array<int, kUserSlots> AccountEdits, TimeEdits, LastUsedLabels, MachineLabels;
extern std::array<std::array<int, kDays>, kUserSlots> AllocEdits;
extern std::array<int, kDays> DefaultEdits;
extern int AllocGroup, AllowNewUsers;

// "14:05 on 06/12/2026" from the record's last-used fields, "" when the hour is empty.
std::string lastUsedText(const UserRecord& user);

void build_update_tab();
void build_options_tab();
// Reloads the data file and refreshes the columns the accounting changes by itself.
void read_Button(int self, int event, const EventParams& params);
// Stores every editable cell exactly as typed and saves.
void datchange_Button(int self, int event, const EventParams& params);
// Stores the inverted check box as the new-user flag and saves.
void Update_Options(int self, int event, const EventParams& params);
