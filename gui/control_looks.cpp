#include "gui/control_looks.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "gui/gdi_objects.h"
#include "gui/geometry.h"
#include "gui/registry.h"
#include "support/w32dll.h"

namespace {

bool isSystemIcon(int number) {
  switch (number) {
    case 32512:  // IDI_APPLICATION
    case 32513:  // IDI_HAND
    case 32514:  // IDI_QUESTION
    case 32515:  // IDI_EXCLAMATION
    case 32516:  // IDI_ASTERISK
    case 32517:  // IDI_WINLOGO
      return true;
    default:
      return false;
  }
}

// A file that can be read, or a name that is absolute anyway; "" for anything else.
std::string usableIconFile(const std::string& name) {
  if (name.find(':') != std::string::npos || (!name.empty() && name[0] == '\\'))
    return name;
  if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
    std::fclose(file);
    return name;
  }
  return "";
}

int iconHandle(int id, const IconArg& icon) {
  switch (icon.kind) {
    case IconArg::Handle:
      return icon.number;
    case IconArg::File: {
      const std::string file = usableIconFile(icon.file);
      if (file.empty())
        return 0;
      const int handle = w32Func(rtn::ExtractIconA, {GetModuleHandleA(nullptr), file, icon.index - 1});
      // 1 means the file holds no icons at all: it is not an icon handle.
      return handle == 1 ? 0 : handle;
    }
    case IconArg::Number:
      break;
  }
  if (ctrl_Family[id] != WINDOW && isSystemIcon(icon.number))
    return w32Func(rtn::LoadIconA, {0, icon.number});
  return icon.number;
}

bool isMarker(const Colour& colour) {
  return colour.kind == Colour::Transparent || colour.kind == Colour::WinDefault;
}

}  // namespace

void setIcon(int id, const IconArg& icon) {
  if (!validId(id))
    return;
  const int handle = iconHandle(id, icon);
  if (classAttr[ctrl_Type[id]] & w32PictCtrl) {
    sendMessage(id, BM_SETIMAGE, IMAGE_ICON, handle);
  } else if (ctrl_Family[id] == WINDOW) {
    sendMessage(id, WM_SETICON, ICON_BIG, handle);
    sendMessage(id, WM_SETICON, ICON_SMALL, handle);
  } else {
    sendMessage(id, STM_SETICON, handle, 0);
  }
}

void setCreatedBackColor(int id, const Colour& colour) {
  if (!validId(id))
    return;
  ctrl_Bg_Color[id] = colour;
  // Neither marker is a colour a brush could be made of.
  if (isMarker(colour))
    return;
  const int brush = w32Func(rtn::CreateSolidBrush, {colorValue(colour)});
  const int previous = ctrl_Bg_Brush[id];
  ctrl_Bg_Brush[id] = brush;
  if (ctrl_Type[id] == Window)
    w32Func(rtn::SetClassLongA, {ctrl_Handle[id], GCL_HBRBACKGROUND, brush});
  if (previous != 0)
    deleteObject(previous);
}

void setWindowBackColor(const IdList& ids, const Colour& colour) {
  for (int id : ids.values) {
    if (!validId(id))
      continue;
    setCreatedBackColor(id, colour);
    repaintWindow(id);
  }
}

void repaintWindow(int id) {
  int handle = 0;
  if (id > 0) {
    // Only windows can be painted: a menu's handle is not one.
    if (!validId(id) || (ctrl_Handle_type[id] != kht_Window && ctrl_Handle_type[id] != kht_TabItem))
      return;
    handle = ctrl_Handle[id];
  }
  w32Func(rtn::InvalidateRect, {handle, 0, 1});
  if (handle != 0)
    w32Func(rtn::SendMessageA, {handle, WM_PAINT, 0, 0});
}
