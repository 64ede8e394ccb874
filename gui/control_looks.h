#pragma once
// How controls look: icons of windows and icon controls, background colours with the brushes
// the framework answers colour requests with, and repainting.
#include "gui/arguments.h"
#include "gui/colour.h"
#include "gui/handlers.h"

// A window gets the icon as its large and small icon, a picture control as its image, any
// other control (an icon label) as its icon. The icon is not copied: its owner keeps it alive.
void setIcon(int id, const IconArg& icon);

// Stores the colour and, unless it is one of the two markers, makes it the control's
// background brush (and a window's class background), deleting the previous brush.
void setWindowBackColor(const IdList& ids, const Colour& colour);

// Invalidates and repaints the control; 0 invalidates every window.
void repaintWindow(int id);
