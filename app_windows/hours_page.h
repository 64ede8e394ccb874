#pragma once
// The Hours tab of the administration window: the allowed hours of an account of the table, or of
// the default, as one text a weekday, saved on Apply with the password that opened the gate; and
// what applies today to the account running the program.
#include <array>

#include "accounting/table/usage_table.h"
#include "gui/event_types.h"

extern int TabHours, HoursTodayLabel, HoursStateLabel, HoursApply;
// One choice a slot of the table, then the default.
extern std::array<int, kUserSlots + 1> HoursAccountRadios;
extern std::array<int, kDays> HoursDayEdits;

// Reads the hours again and shows those of the account chosen (the same as before when it is still
// in the table, else the program's own account's). The first read makes the tab, after the
// others, and its controls.
void readHoursPage();
// An account chosen: shows its hours.
void chooseHoursAccount(int self, int event, const EventParams& params);
// Apply: reads the seven texts and saves them as the chosen account's hours, or says what is
// wrong and changes nothing.
void applyHours(int self, int event, const EventParams& params);
