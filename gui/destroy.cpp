#include "gui/destroy.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "gui/gdi_objects.h"
#include "gui/handlers.h"
#include "gui/registry.h"
#include "support/w32codes.h"
#include "support/w32msgs.h"

namespace {

void eraseValue(std::vector<int>& list, int value) {
  list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

// The control, then each child's subtree, children visited from the highest id down.
void enqueue(int id, std::vector<int>& queue) {
  queue.push_back(id);
  ctrl_Destroyed[id] = kSlotDestroying;
  const std::vector<ChildEntry> children = findChildren(id);
  for (auto child = children.rbegin(); child != children.rend(); ++child)
    if (ctrl_Destroyed[child->id] == kSlotLive)
      enqueue(child->id, queue);
}

void removeTabItem(int id) {
  const int tabControl = ctrl_Parent[id];
  std::vector<int>& items = ctrl_Tabitems[tabControl];
  const auto found = std::find(items.begin(), items.end(), id);
  if (found == items.end())
    return;
  const int position = static_cast<int>(found - items.begin());
  sendMessage(tabControl, TCM_DELETEITEM, position, 0);
  items.erase(found);
  // The neighbour that moved into its place, or the one before it when it was the last.
  if (!items.empty())
    sendMessage(tabControl, TCM_SETCURSEL, std::min(position, static_cast<int>(items.size()) - 1), 0);
}

void destroyNative(int id) {
  const int handle = ctrl_Handle[id];
  const int family = ctrl_Family[id];
  if (ctrl_Type[id] == TabItem) {
    removeTabItem(id);
  } else if (family == MENU || family == MENUITEM) {
    const MenuRecord& entry = ctrl_Menu[id];
    if (entry.parentMenu != 0) {
      if (w32Func(rtn::DeleteMenu, {entry.parentMenu, entry.commandId, MF_BYCOMMAND}) == 0)
        abortErr(w32code::DestroyMenu);
    } else if (family == MENU) {
      w32Func(rtn::DestroyMenu, {handle});
    }
  } else if (family == POPUP) {
    w32Func(rtn::DestroyMenu, {handle});
  } else if (ctrl_Handle_type[id] == kht_Bitmap) {
    deleteObject(handle);
  } else if (ctrl_Handle_type[id] == kht_Window) {
    w32Func(rtn::DestroyWindow, {handle});
    // The window class registered for a top-level window goes with it.
    if (const int classAddr = ctrl_ClassAddr[id]) {
      w32Func(rtn::UnregisterClassA, {classAddr, GetModuleHandleA(nullptr)});
      w32release_mem(reinterpret_cast<void*>(classAddr));
    }
  }
}

void freeSlot(int id) {
  // A nested destroy (from a message the native destruction sent) may have got here first.
  if (ctrl_Destroyed[id] == kSlotFree)
    return;
  destroyNative(id);
  deleteOwnedObjects(id);
  if (ctrl_Bg_Brush[id] != 0)
    deleteObject(ctrl_Bg_Brush[id]);

  ctrl_Destroyed[id] = kSlotFree;
  ctrl_Handle[id] = -1;
  ctrl_Handle_type[id] = -1;
  ctrl_Bg_Brush[id] = 0;
  ctrl_ClassAddr[id] = 0;
  ctrl_Group[id].clear();
  ctrl_Mousetrap[id].clear();
  ctlblk_freelist.push_back(id);
  if (const int parent = ctrl_Parent[id]; parent >= 1 && parent <= controlCount()) {
    eraseValue(ctrl_Focus_order[parent], id);
    eraseValue(ctrl_Group[parent], id);
  }
}

}  // namespace

void destroy(int id) {
  if (!validId(id))
    return;
  // A control whose destruction is already under way (a close handler destroying the window
  // it was asked to close) goes straight to the queue.
  if (ctrl_Destroyed[id] == kSlotLive) {
    invokeHandler(id, w32HDestroy, {});
    if (!validId(id))
      return;
    ctrl_Destroyed[id] = kSlotDestroying;
    if (ctrl_Type[id] == Window) {
      sendMessage(id, WM_CLOSE, 0, 0);
      if (ctrl_Destroyed[id] != kSlotDestroying)
        return;  // refused (0), or destroyed meanwhile by the close itself (-1)
    }
  }

  std::vector<int> queue;
  enqueue(id, queue);
  for (auto it = queue.rbegin(); it != queue.rend(); ++it)
    freeSlot(*it);
}
