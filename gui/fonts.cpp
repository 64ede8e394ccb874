#include "gui/fonts.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gui/device_context.h"
#include "gui/gdi_objects.h"
#include "support/w32dll.h"

namespace {

constexpr int kEditMargin = 1;

// A native font is described by the face, the height in the control's logical units (which
// depends on the control's device) and the attributes.
struct CachedFont {
  std::string face;
  int height;
  int attributes;
  int handle;
};
std::vector<CachedFont> vFonts;

// Heights by point size, for controls whose contexts start in the default mapping.
struct CachedHeight {
  int points;
  int height;
};
std::vector<CachedHeight> vHeights;

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
    pieces.push_back(trimmed(text.substr(start, end - start)));
  pieces.push_back(trimmed(text.substr(start)));
  return pieces;
}

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

// A window's context comes from the platform's cache in the default mapping, where logical
// units are the display's pixels, unless its class keeps contexts of its own whose mapping a
// program may have changed.
bool startsInDefaultMapping(int id) {
  if (ctrl_Handle_type[id] != kht_Window)
    return false;
  const int classStyle = w32Func(rtn::GetClassLongA, {ctrl_Handle[id], GCL_STYLE});
  return (classStyle & (CS_OWNDC | CS_CLASSDC)) == 0;
}

// The character height of the font for the control's device, negative so that the platform
// matches it against the characters rather than the cells. In the default mapping it depends
// on the size alone, and is worked out once per size.
int fontHeight(int id, int points) {
  const bool shared = startsInDefaultMapping(id);
  if (shared) {
    for (const CachedHeight& known : vHeights)
      if (known.points == points)
        return known.height;
  }
  const int dc = getDC(id);
  const double pixels = std::floor(points * w32Func(rtn::GetDeviceCaps, {dc, LOGPIXELSY}) / 72.0);
  POINT ends[2] = {{0, 0}, {0, static_cast<LONG>(pixels)}};
  w32Func(rtn::DPtoLP, {dc, ends, 2});
  releaseDC(id);
  const int height = -static_cast<int>(std::floor(std::abs(ends[1].y - ends[0].y) + 0.5));
  if (shared)
    vHeights.push_back({points, height});
  return height;
}

int nativeFont(const std::string& face, int height, int attributes) {
  for (const CachedFont& font : vFonts)
    if (font.face == face && font.height == height && font.attributes == attributes)
      return font.handle;
  LOGFONTA description = {};
  description.lfHeight = height;
  description.lfWeight = (attributes & kFontBold) ? FW_BOLD : 0;
  description.lfItalic = (attributes & kFontItalic) ? 1 : 0;
  description.lfUnderline = (attributes & kFontUnderline) ? 1 : 0;
  description.lfStrikeOut = (attributes & kFontStrikeOut) ? 1 : 0;
  std::strncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  const int handle = w32Func(rtn::CreateFontIndirectA, {&description});
  if (handle != 0) {
    trackObject(handle, kNoOwner, kLifeProgram, 0, OBJ_FONT);
    vFonts.push_back({face, height, attributes, handle});
  }
  return handle;
}

}  // namespace

std::optional<FontRecord> parseFontDefaults(const std::string& w32Defaults) {
  for (const std::string& entry : split(w32Defaults, ';')) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string::npos || upper(trimmed(entry.substr(0, equals))) != "FONT")
      continue;
    std::vector<std::string> values = split(entry.substr(equals + 1), ',');
    values.resize(4);
    FontRecord record{"Arial", 8, kFontNormal, 0};
    if (!values[0].empty())
      record.face = values[0];
    if (!values[1].empty())
      record.points = std::atof(values[1].c_str());
    if (!values[2].empty())
      record.attributes = std::atoi(values[2].c_str());
    if (!values[3].empty())
      record.colour = std::atoi(values[3].c_str());
    return record;
  }
  return std::nullopt;
}

void loadFontDefaults() {
  if (const char* setting = std::getenv("w32Defaults"))
    if (const std::optional<FontRecord> record = parseFontDefaults(setting))
      FontDefaults = *record;
}

bool setFont(int id, const std::string& face, double points, int attributes) {
  if (!validId(id))
    return false;
  const int size = static_cast<int>(std::lround(points));
  ctrl_Font[id] = {face, static_cast<double>(size), attributes, ctrl_Font[id].colour};
  if (id == Screen || id == Printer || ctrl_Type[id] == Pixmap)
    return false;
  const int font = nativeFont(face, fontHeight(id, size), attributes);
  if (font == 0)
    return false;
  sendMessage(id, WM_SETFONT, font, 1);
  // An edit field takes its margins from each new font, and today's platforms make them so
  // wide that four digits no longer fit a 34-pixel field. One pixel a side keeps the text off
  // the border and leaves the caret room after the last character.
  if (ctrl_Family[id] == EDIT)
    sendMessage(id, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kEditMargin, kEditMargin));
  return true;
}
