#pragma once
// Control creation: the one way every window, control, menu, menu item and tab item comes
// into being. Chooses the owner when none is given, converts positions to pixels, registers a
// window class per top-level window, subclasses native controls, and applies focus order,
// backgrounds, the default font, accelerator keys, hints and status-bar bookkeeping.
#include <string>

#include "gui/arguments.h"

// Top-level window classes are named "<vAppName> <regCount>", regCount counting up from 1.
extern std::string vAppName;
extern int regCount;

// Opens a child window created visible; the windows unit installs it. Until then such a
// window is only shown, as its style asks.
extern void (*r_openWindow)(int id, int style);

// Returns the new control's id. An owner of 0 means the most recent menu for menu items, the
// most recent tab control for tab items, and the most recent window, group or tab item for
// every other class but Window. A non-zero owner that is not a valid control, and classes
// this framework does not build, are fatal errors.
int createEx(int cls,
             const Caption& caption,
             int owner,
             const Position& x,
             const Position& y,
             const Position& cx,
             const Position& cy,
             const StyleArg& style,
             const StyleArg& exStyle);
int create(int cls,
           const Caption& caption,
           int owner,
           const Position& x,
           const Position& y,
           const Position& cx,
           const Position& cy,
           const StyleArg& style);

// Registers the key that activates the control on its enclosing window: the character after
// the first "&" of a caption (upper-cased; nothing when "&" is missing or last), or a key code.
void registerHotKey(int id, const std::string& caption);
void registerHotKey(int id, int key);
