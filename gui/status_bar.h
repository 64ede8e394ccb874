#pragma once
// Status bars: dividing one into panels, and keeping it at the bottom of its window when the
// window is resized.
#include "gui/arguments.h"
#include "gui/event_types.h"

// Right edges from the layout, against the outer width of the status bar's owner; the list
// ends at the first panel reaching the right end. Only for a status bar and a non-empty layout.
void setSubFields(int id, const PanelLayout& layout);

// The status bar's handler for its window's resize notifications: full width, at the bottom.
void statusbar_resize(int self, int event, const EventParams& params);
