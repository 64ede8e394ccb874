#include "gui/status_bar.h"

#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "gui/geometry.h"
#include "gui/registry.h"
#include "support/w32dll.h"

namespace {

// The right end of the status bar, for the platform.
constexpr int kRightEnd = -1;

int rightEdge(const PanelEdge& edge, int previous, int width) {
  const double n = edge.number;
  if (edge.relative)
    return previous + static_cast<int>(std::floor(n));
  if (n > 0 && n < 1)
    return previous + static_cast<int>(std::floor(n * width));
  if (n < -1)
    return width + static_cast<int>(std::floor(n));
  if (n < 1)
    return kRightEnd;
  return static_cast<int>(std::floor(n));
}

}  // namespace

void setSubFields(int id, const PanelLayout& layout) {
  if (!validId(id) || ctrl_Type[id] != StatusBar || layout.empty())
    return;
  const int width = getCtlSize(ctrl_Parent[id]).width;
  std::vector<std::int32_t> edges;
  int previous = 0;
  for (const PanelEdge& edge : layout) {
    previous = rightEdge(edge, previous, width);
    edges.push_back(previous);
    if (previous == kRightEnd)
      break;
  }
  W32Bytes array(edges.size() * sizeof(std::int32_t));
  std::memcpy(array.data(), edges.data(), array.size());
  sendMessage(id, SB_SIMPLE, 0, 0);
  sendMessage(id, SB_SETPARTS, static_cast<int>(edges.size()), array);
}

void statusbar_resize(int self, int, const EventParams& params) {
  // {sender, sender's event, user data, size type, client width, client height}
  if (params.size() < 6 || params[1] != w32HResize || !validId(self))
    return;
  const int width = params[4];
  const int height = params[5];
  const int ownHeight = getClientRect(self).height;
  w32Func(rtn::MoveWindow, {ctrl_Handle[self], 0, height - ownHeight, width, ownHeight, 1});
}
