#include "app_windows/tray_digits.h"

#include "accounting/table/usage_table.h"

namespace {
using Glyph = std::array<std::string, kGlyphRows>;

const std::string A = "         ";
const std::string B = " xxxxxxx ";
const std::string R = "      xx ";
const std::string D = " xx      ";
const std::string E = "  xxxxxx ";
const std::string F = " xx   xx ";
const std::string G = "     ";
const std::string H = "  xx ";
const std::string I = "      ";

const std::array<Glyph, 12> kGlyphs{{
    {G, H, H, H, H, H, H, H, G},  // 1
    {A, B, R, R, B, D, D, B, A},  // 2
    {A, B, R, R, E, R, R, B, A},  // 3
    {A, F, F, F, B, R, R, R, A},  // 4
    {A, B, D, D, B, R, R, B, A},  // 5
    {A, B, D, D, B, F, F, B, A},  // 6
    {A, B, R, R, R, R, R, R, A},  // 7
    {A, B, F, F, B, F, F, B, A},  // 8
    {A, B, F, F, B, R, R, B, A},  // 9
    {A, B, F, F, F, F, F, B, A},  // 0
    {},                           // nothing
    {I, I, I, I, I, I, I, I, I},  // blank
}};
}  // namespace

const std::array<std::string, kGlyphRows>& DigitGlyphs(int glyph) {
  return kGlyphs.at(glyph - 1);
}

GlyphSlots glyphSlots(const std::string& minutesText, bool blankPhase) {
  GlyphSlots slots{kGlyphNothing, kGlyphNothing, kGlyphNothing, kGlyphNothing};
  if (blankPhase) {
    slots.fill(kGlyphBlank);
    return slots;
  }
  bool nonZeroSeen = false;
  for (std::size_t i = 0; i < minutesText.size() && i < slots.size(); ++i) {
    const int value = readNumber(std::string(1, minutesText[i]));
    if (value != 0) {
      slots[i] = value;
      nonZeroSeen = true;
    } else if (nonZeroSeen) {
      slots[i] = 10;
    } else {
      slots[i] = i == 1 ? kGlyphBlank : kGlyphNothing;
    }
  }
  return slots;
}

std::vector<std::string> glyphImage(GlyphSlots slots) {
  std::vector<std::string> rows(kGlyphRows);
  for (int glyph : slots)
    for (int r = 0; r < kGlyphRows; ++r)
      rows[r] += DigitGlyphs(glyph)[r];
  if (rows[0].empty())
    return glyphImage({kGlyphBlank, kGlyphNothing, kGlyphNothing, kGlyphNothing});
  return rows;
}
