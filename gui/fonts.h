#pragma once
// Control fonts: the default font record (which the FONT entry of the "w32Defaults"
// environment variable may replace), applying a font to a control, and the cache through
// which equal font requests share one native font.
#include <optional>
#include <string>

#include "gui/registry.h"

// Font attribute bits.
constexpr int kFontNormal = 0;
constexpr int kFontBold = 1;
constexpr int kFontItalic = 2;
constexpr int kFontUnderline = 4;
constexpr int kFontStrikeOut = 8;

// The FONT entry of a "w32Defaults" text: entries "KEY=value,value,..." separated by ";",
// keys in any case. Its values are face, size, attributes and colour; missing or empty
// trailing values are "Arial", 8, normal and black. No FONT entry gives nothing.
std::optional<FontRecord> parseFontDefaults(const std::string& w32Defaults);

// Replaces FontDefaults from the environment, when it has a FONT entry; runs at start-up.
void loadFontDefaults();

// Stores {face, size rounded to whole points, attributes} as the control's font record and,
// except for Screen, Printer and pixmaps, gives the control the matching native font. True
// when the control was given a native font.
bool setFont(int id, const std::string& face, double points, int attributes);
