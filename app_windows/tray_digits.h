#pragma once
// The minutes of the tray icon as pixel rows: four glyph slots chosen from the minutes-left
// text, and the nine rows of text pixels (blank = background) that the icon is drawn from.
#include <array>
#include <string>
#include <vector>

constexpr int kGlyphRows = 9;
constexpr int kGlyphNothing = 11;  // 0 pixels wide
constexpr int kGlyphBlank = 12;    // 6 background pixels wide
using GlyphSlots = std::array<int, 4>;

// Glyph 1 to 9 shows that digit, 10 shows 0, 11 nothing, 12 a narrow blank.
const std::array<std::string, kGlyphRows>& DigitGlyphs(int glyph);

// "0045" gives nothing, blank, 4, 5: leading zeros vanish, except that a zero in second place
// keeps a blank so that short numbers stay roughly centred. Blinking off gives four blanks.
GlyphSlots glyphSlots(const std::string& minutesText, bool blankPhase);

// Row r is row r of the four glyphs side by side. An image that would be 0 pixels wide (an
// empty or one-zero text) is drawn as one blank instead: the platform refuses empty bitmaps.
std::vector<std::string> glyphImage(GlyphSlots slots);
