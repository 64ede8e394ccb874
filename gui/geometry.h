#pragma once
// Where controls are and how big they are, and what colour descriptions mean as RGB values.
// Where an id is expected, any value that is not a valid control id is taken for a bitmap
// handle: the tray code measures its glyph bitmaps this way.
#include "gui/colour.h"

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// right and bottom are the last pixel inside (left + width - 1, top + height - 1).
struct ClientRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const ClientRect&) const = default;
};

// The outer rectangle, in the owner's client coordinates for a control with an owner and in
// screen coordinates for a top-level window; a bitmap's is {0, 0, width, height}.
Rect getRect(int idOrBitmap);
// The outer size, borders and caption included.
Size getCtlSize(int idOrBitmap);
// The client area less a tool bar at the top (while it is shown, and always before the event
// loop starts) and a status bar at the bottom.
ClientRect getClientRect(int id);

int rgb(int red, int green, int blue);
// A system colour becomes the current RGB value of that colour, an RGB value keeps its low 24
// bits, a name is looked up in the colour table (black when unknown), and the two background
// markers, which are not colours, give black.
int colorValue(const Colour& colour);
