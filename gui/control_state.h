#pragma once
// Check marks, visibility, enabling and the keyboard focus of controls and menu entries;
// which tab page shows; asking a window to close.
#include "gui/arguments.h"
#include "gui/handlers.h"

// The control setFocus last gave the focus to, -1 before it has given any.
extern int focus_current;

// Ticks (1), unticks (0) or, for a three-state box, sets the indeterminate state (2).
void setCheck(const PartList& controls, int state);
bool isChecked(const Part& control);

// Invalid ids are ignored; a query on one is false. Tab items count as visible and enabled.
void setVisible(const IdList& ids, bool visible);
bool isVisible(int id);
void setEnable(const IdList& ids, bool enable);
bool isEnabled(int id);

// Nothing for a hidden or disabled control; a tab item is selected and its page shown.
void setFocus(const Part& target);

// Shows the page of the tab item (the controls created on it, and, for a tab control on the
// page, its current page) and hides the pages of the other tab items of its tab control.
void activateTabItems(int tabItem);

// Sends the window a close request; 0 means the main window.
void closeWindow(int id);
