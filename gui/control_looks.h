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
// background brush (and a window's class background), deleting the previous brush; then
// repaints the control.
void setWindowBackColor(const IdList& ids, const Colour& colour);

// The same without the repaint, for a control that is being created: it has not been painted
// yet, and its first paint uses the new brush anyway.
void setCreatedBackColor(int id, const Colour& colour);

// Invalidates and repaints the control; 0 invalidates every window.
void repaintWindow(int id);
