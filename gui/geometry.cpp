#include "gui/geometry.h"

#include <windows.h>

#include <cctype>
#include <string>

#include "gui/device_context.h"
#include "gui/registry.h"
#include "gui/run_state.h"
#include "support/w32codes.h"
#include "support/w32msgs.h"

namespace {

constexpr const char* vColorNames[] = {"BLACK", "WHITE",   "RED",  "GREEN",  "BLUE",   "YELLOW",
                                       "CYAN",  "MAGENTA", "GRAY", "SILVER", "MAROON", "NAVY"};
constexpr int vColorValues[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x008000, 0xFF0000, 0x00FFFF,
                                0xFFFF00, 0xFF00FF, 0x808080, 0xC0C0C0, 0x000080, 0x800000};

int addressOf(const void* record) {
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(record));
}

// Screen and Printer measure their device.
Rect deviceRect(int id) {
  const int dc = getDC(id, true);
  if (dc == 0)
    return {};
  const Rect area = {0, 0, w32Func(rtn::GetDeviceCaps, {dc, HORZRES}), w32Func(rtn::GetDeviceCaps, {dc, VERTRES})};
  releaseDC(id);
  return area;
}

Rect bitmapRect(int bitmap, const W32Error& failure) {
  if (w32Func(rtn::GetObjectType, {bitmap}) != OBJ_BITMAP) {
    warnErr(failure);
    return {};
  }
  BITMAP record = {};
  if (w32Func(rtn::GetObjectA, {bitmap, static_cast<int>(sizeof record), addressOf(&record)}) != sizeof record)
    warnErr(failure);
  return {0, 0, record.bmWidth, record.bmHeight};
}

ClientRect fromRect(const Rect& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  return {rect.left, rect.top, width, height, rect.left + width - 1, rect.top + height - 1};
}

}  // namespace

Rect getRect(int id) {
  if (id == 0)
    return {};
  if (id == Screen || id == Printer)
    return deviceRect(id);
  if (!validId(id))
    return bitmapRect(id, w32code::GetObjectForBitmap);
  if (ctrl_Type[id] == Pixmap)
    return bitmapRect(ctrl_Handle[id], w32code::GetObjectForPixmap);

  RECT outer = {};
  if (w32Func(rtn::GetWindowRect, {getHandle(id), addressOf(&outer)}) == 0)
    abortErr(w32code::GetWindowRect);
  Rect rect = {outer.left, outer.top, outer.right, outer.bottom};
  if (const int owner = ctrl_Parent[id]) {
    POINT origin = {0, 0};
    w32Func(rtn::ClientToScreen, {getHandle(owner), addressOf(&origin)});
    rect = {rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
  }
  return rect;
}

Size getCtlSize(int idOrBitmap) {
  const Rect rect = getRect(idOrBitmap);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

ClientRect getClientRect(int id) {
  if (id == Screen || id == Printer)
    return fromRect(deviceRect(id));
  if (!validId(id))
    return {};
  if (ctrl_Type[id] == Pixmap || ctrl_Type[id] == ReBarBand)
    return fromRect(getRect(id));

  RECT inner = {};
  if (w32Func(rtn::GetClientRect, {getHandle(id), addressOf(&inner)}) == 0)
    warnErr(w32code::GetClientRect);
  ClientRect area = fromRect({0, 0, inner.right - inner.left, inner.bottom - inner.top});

  const int toolBar = ctrl_Toolbar[id];
  // Before the loop starts nothing is shown yet, but the bar will be.
  if (validId(toolBar) &&
      (vWinMainState == kNotStarted || w32Func(rtn::IsWindowVisible, {ctrl_Handle[toolBar]}) != 0)) {
    const int barHeight = getCtlSize(toolBar).height;
    area.top += barHeight;
    area.height -= barHeight;
  }
  if (validId(ctrl_Statusbar[id]))
    area.height -= getCtlSize(ctrl_Statusbar[id]).height;
  area.right = area.left + area.width - 1;
  area.bottom = area.top + area.height - 1;
  return area;
}

int rgb(int red, int green, int blue) {
  return red + green * 256 + blue * 65536;
}

int colorValue(const Colour& colour) {
  switch (colour.kind) {
    case Colour::Value:
      if (colour.value < 0)
        return w32Func(rtn::GetSysColor, {-colour.value - 1});
      return colour.value & 0xFFFFFF;
    case Colour::Named: {
      std::string upper = colour.name;
      for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      for (std::size_t i = 0; i < std::size(vColorNames); ++i)
        if (upper == vColorNames[i])
          return vColorValues[i];
      return 0;
    }
    case Colour::Transparent:
    case Colour::WinDefault:
      break;
  }
  return 0;
}
