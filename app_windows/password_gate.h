#pragma once
// The password gate in front of the administration window, and the change of the supervisor
// password on its Security tab. A typed password opens when line 1 is its hash (or, in a file
// written before hashing, the same text): case and blanks count.
#include "gui/event_types.h"

// PasswordWindow got the focus: clears PwEdit and focuses it.
void Password(int self, int event, const EventParams& params);
// A key in PwEdit: Enter (13) acts as OK.
void penter(int self, int event, const EventParams& params);
// OK: the right password reloads the grid and the Hours page and opens MainWindow.
void Click_Button(int self, int event, const EventParams& params);
// Cancel: hides PasswordWindow.
void Exitpass(int self, int event, const EventParams& params);
// Apply on the Security tab: stores a new password, as its hash, when the old one is right and
// the new one is confirmed.
void pwchange_Button(int self, int event, const EventParams& params);

