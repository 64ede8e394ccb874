#pragma once
// Turning the position forms given at creation into pixels relative to the owner's client
// area: plain pixels, Default, Center, shares of the owner's size, offsets from its far edge,
// and clamps.
#include "gui/arguments.h"

// CW_USEDEFAULT: the platform chooses.
constexpr int kUseDefault = static_cast<int>(0x80000000u);

struct Placement {
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  bool operator==(const Placement&) const = default;
};

// One value: low is the owner's near edge, farEdge its far edge, size its usable size, and
// controlEdge what an edge-measured value adds (the negated control position, for sizes).
int convDimension(const Position& value, int low, int farEdge, int size, int controlEdge);

// The control's position and size in pixels of its owner's client area (Screen when it has
// no owner). Invalid ids and classes that take their values unconverted get them as given.
Placement convPctToPixel(int id, const Position& x, const Position& y, const Position& cx, const Position& cy);
