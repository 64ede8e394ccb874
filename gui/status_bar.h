#pragma once
// Status bars: dividing one into panels, the texts of the panels, and keeping a status bar at
// the bottom of its window when the window is resized.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "gui/arguments.h"
#include "gui/event_types.h"

// Right edges from the layout, against the outer width of the status bar's owner; the list
// ends at the first panel reaching the right end. Only for a status bar and a non-empty layout.
void setSubFields(int id, const PanelLayout& layout);

// The status bar's handler for its window's resize notifications: full width, at the bottom.
void statusbar_resize(int self, int event, const EventParams& params);

// Notes, right after the status bar is made, whether it shows tips: only one made with
// SBT_TOOLTIPS makes a tooltip window to show them.
void noteStatusBarTips(int id);

// Shows the text in the panel (from 0) and, on a status bar that shows tips or whose every
// message is listened to, as the panel's tip. Unless something listens to the status bar's
// every message, a panel is not sent the text it was last sent from here when nothing else
// has changed its text since (a clock pane is set every second, beside panes that never
// change), and a status bar that cannot be seen is sent its texts only when it is about to
// be shown or read (a hidden window's clock would repaint for nobody every second).
void setPanelText(int id, int panel, const std::string& text);

// Sends the texts held for the status bars that are the control or sit inside its window:
// before one is read, and when a window is about to be shown.
void sendHeldTexts(int id);

// The messages that change what a status bar's panels show, or end the status bar: default
// processing reports each one it hands a status bar's own procedure to forgetPanelTexts, so that
// no change escapes setPanelText.
inline bool changesPanelTexts(int message) {
  switch (message) {
    case SB_SETTEXTA:
    case SB_SETTEXTW:
    case SB_SETTIPTEXTA:
    case SB_SETTIPTEXTW:
    case SB_SETPARTS:
    case SB_SIMPLE:
    case WM_SETTEXT:
    case WM_NCDESTROY:
      return true;
    default:
      return false;
  }
}
void forgetPanelTexts(int id, int message, int wParam);
