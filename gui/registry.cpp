#include "gui/registry.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "support/hot_path.h"
#include "support/w32codes.h"
#include "support/w32msgs.h"

FontRecord FontDefaults{"ms sans serif", 8, 0, 0};

std::vector<int> ctrl_Destroyed;
std::vector<int> ctrl_Handle;
std::vector<int> ctrl_Handle_type;
std::vector<int> ctrl_Function;
std::vector<int> ctrl_Family;
std::vector<int> ctrl_Type;
std::vector<std::vector<int>> ctrl_Focus_order;
std::vector<int> ctrl_Current_focus;
std::vector<int> ctrl_Previous_focus;
std::vector<int> ctrl_Parent;
std::vector<int> ctrl_X_Pos;
std::vector<int> ctrl_Y_Pos;
std::vector<bool> ctrl_Erase;
std::vector<FontRecord> ctrl_Font;
std::vector<PenRecord> ctrl_Pen;
std::vector<Colour> ctrl_Fg_Color;
std::vector<Colour> ctrl_Bg_Color;
std::vector<ScrollPairs> ctrl_Range;
std::vector<ScrollPairs> ctrl_Scroll;
std::vector<std::vector<int>> ctrl_Tabitems;
std::vector<std::vector<int>> ctrl_Group;
std::vector<std::vector<int>> ctrl_Cursor;
std::vector<MenuRecord> ctrl_Menu;
std::vector<std::array<int, 4>> ctrl_Popup;
std::vector<NotifyList> ctrl_Notify_List;
std::vector<int> ctrl_Toolbar;
std::vector<int> ctrl_Statusbar;
std::vector<std::string> ctrl_Hint_Text;
std::vector<int> ctrl_Hint_Width;
std::vector<std::vector<int>> ctrl_Hotkey_Keys;
std::vector<std::vector<int>> ctrl_Hotkey_Ids;
std::vector<int> ctrl_Text_Alignment;
std::vector<int> ctrl_Closed;
std::vector<int> ctrl_TabKey_Used;
std::vector<HandlerLists> ctrl_Handlers;
std::vector<int> ctrl_Bg_Brush;
std::vector<PropertyList> ctrl_UserData;
std::vector<PropertyList> ctrl_IntData;
std::vector<std::string> ctrl_Name;
std::vector<std::vector<DeferredHandler>> ctrl_Deferred_Handlers;
std::vector<bool> ctrl_Auto_Height;
std::vector<bool> ctrl_Auto_Width;
std::vector<std::array<std::vector<int>, 2>> ctrl_Init_Posns;
std::vector<int> ctrl_ClassAddr;
std::vector<std::vector<std::array<int, 4>>> ctrl_Mousetrap;

std::vector<Handler> onMouse, onClick, onKeyPress, onKeyUp, onKeyDown, onResize, onChange, onGotFocus, onLostFocus,
    onOpen, onActivate, onClose, onDestroy, onScroll, onTimer, onPaint, onDragAndDrop, onEvent;

std::vector<int> ctlblk_freelist = {0};
int vPrevCtlBlkLength = 3;
int vEmptySlots = 16;
RecentIds vRecent;

namespace {

int mainWindow = 0;
bool vRegistryStarted = false;

// The legacy slot column of each event type that has one.
constexpr std::array<std::vector<Handler>*, w32LastEventType + 1> kLegacySlots = [] {
  std::array<std::vector<Handler>*, w32LastEventType + 1> slots{};
  slots[w32HMouse] = &onMouse;
  slots[w32HClick] = &onClick;
  slots[w32HKeyPress] = &onKeyPress;
  slots[w32HKeyUp] = &onKeyUp;
  slots[w32HKeyDown] = &onKeyDown;
  slots[w32HResize] = &onResize;
  slots[w32HChange] = &onChange;
  slots[w32HGotFocus] = &onGotFocus;
  slots[w32HLostFocus] = &onLostFocus;
  slots[w32HScroll] = &onScroll;
  slots[w32HOpen] = &onOpen;
  slots[w32HClose] = &onClose;
  slots[w32HDestroy] = &onDestroy;
  slots[w32HTimer] = &onTimer;
  slots[w32HPaint] = &onPaint;
  slots[w32HDragAndDrop] = &onDragAndDrop;
  slots[w32HEvent] = &onEvent;
  slots[w32HActivate] = &onActivate;
  return slots;
}();

// A system cursor is shared: loading it again gives the same handle. Each is loaded once, when
// the first control that shows it is made.
struct LoadedCursor {
  int id;
  int handle;
};
std::vector<LoadedCursor> vCursors;

int systemCursor(int cursorId) {
  for (const LoadedCursor& cursor : vCursors)
    if (cursor.id == cursorId)
      return cursor.handle;
  const int handle = w32Func(rtn::LoadCursorA, {0, cursorId});
  if (handle != 0)
    vCursors.push_back({cursorId, handle});
  return handle;
}

// Appends free slots to every column, so that all columns keep one length.
void growColumns(int count) {
  const std::size_t size = ctrl_Destroyed.size() + count;
  ctrl_Destroyed.resize(size, kSlotFree);
  ctrl_Handle.resize(size, -1);
  ctrl_Handle_type.resize(size, -1);
  ctrl_Function.resize(size, -1);
  ctrl_Family.resize(size, -1);
  ctrl_Type.resize(size, -1);
  ctrl_Focus_order.resize(size);
  ctrl_Current_focus.resize(size, -1);
  ctrl_Previous_focus.resize(size, -1);
  ctrl_Parent.resize(size, -1);
  ctrl_X_Pos.resize(size, -1);
  ctrl_Y_Pos.resize(size, -1);
  ctrl_Erase.resize(size, false);
  ctrl_Font.resize(size);
  ctrl_Pen.resize(size);
  ctrl_Fg_Color.resize(size, Colour(-1));
  ctrl_Bg_Color.resize(size, Colour(-1));
  ctrl_Range.resize(size);
  ctrl_Scroll.resize(size);
  ctrl_Tabitems.resize(size);
  ctrl_Group.resize(size);
  ctrl_Cursor.resize(size);
  ctrl_Menu.resize(size);
  ctrl_Popup.resize(size, {-1, -1, -1, -1});
  ctrl_Notify_List.resize(size);
  ctrl_Toolbar.resize(size, -1);
  ctrl_Statusbar.resize(size, -1);
  ctrl_Hint_Text.resize(size);
  ctrl_Hint_Width.resize(size, -1);
  ctrl_Hotkey_Keys.resize(size);
  ctrl_Hotkey_Ids.resize(size);
  ctrl_Text_Alignment.resize(size, -1);
  ctrl_Closed.resize(size, -1);
  ctrl_TabKey_Used.resize(size, -1);
  ctrl_Handlers.resize(size);
  ctrl_Bg_Brush.resize(size, -1);
  ctrl_UserData.resize(size);
  ctrl_IntData.resize(size);
  ctrl_Name.resize(size);
  ctrl_Deferred_Handlers.resize(size);
  ctrl_Auto_Height.resize(size, false);
  ctrl_Auto_Width.resize(size, false);
  ctrl_Init_Posns.resize(size);
  ctrl_ClassAddr.resize(size, -1);
  ctrl_Mousetrap.resize(size);
  for (std::vector<Handler>* slots : kLegacySlots)
    if (slots)
      slots->resize(size, nullptr);
}

// The values a freshly allocated slot starts with.
void initSlot(int id, int cls, int owner) {
  ctrl_Destroyed[id] = kSlotLive;
  ctrl_Handle[id] = -1;
  ctrl_Handle_type[id] = -1;
  ctrl_Function[id] = -1;
  ctrl_Family[id] = classType[cls];
  ctrl_Type[id] = cls;
  ctrl_Focus_order[id].clear();
  ctrl_Current_focus[id] = 0;
  ctrl_Previous_focus[id] = 0;
  ctrl_Parent[id] = owner;
  ctrl_X_Pos[id] = 0;
  ctrl_Y_Pos[id] = 0;
  ctrl_Erase[id] = false;
  ctrl_Font[id] = FontDefaults;
  ctrl_Pen[id] = PenRecord{};
  ctrl_Fg_Color[id] = classFGColor[cls];
  ctrl_Bg_Color[id] = classBGColor[cls];
  ctrl_Range[id] = {{{0, 100}, {0, 100}}};
  ctrl_Scroll[id] = {{{1, 10}, {1, 10}}};
  ctrl_Tabitems[id].clear();
  ctrl_Group[id].clear();
  ctrl_Cursor[id] = {systemCursor(classDefPointer[cls])};
  ctrl_Menu[id] = MenuRecord{};
  ctrl_Popup[id] = {-1, -1, -1, -1};
  ctrl_Notify_List[id] = NotifyList{};
  ctrl_Toolbar[id] = 0;
  ctrl_Statusbar[id] = 0;
  ctrl_Hint_Text[id].clear();
  ctrl_Hint_Width[id] = 200;
  ctrl_Hotkey_Keys[id].clear();
  ctrl_Hotkey_Ids[id].clear();
  ctrl_Text_Alignment[id] = TA_TOP;
  ctrl_Closed[id] = kNeverOpened;
  ctrl_TabKey_Used[id] = (classAttr[cls] & w32CtrlTab) ? 0 : 1;
  ctrl_Handlers[id] = HandlerLists{};
  ctrl_Bg_Brush[id] = 0;
  ctrl_UserData[id] = PropertyList{};
  ctrl_IntData[id] = PropertyList{};
  ctrl_Name[id].clear();
  ctrl_Deferred_Handlers[id].clear();
  ctrl_Auto_Height[id] = false;
  ctrl_Auto_Width[id] = false;
  ctrl_Init_Posns[id] = {};
  ctrl_ClassAddr[id] = 0;
  ctrl_Mousetrap[id].clear();
}

HOT_PATH bool inTable(int id) {
  return id >= 1 && id <= controlCount();
}

// Letters, digits and the underscore.
bool isNameChar(unsigned char c) {
  return std::isalnum(c) || c == '_';
}

}  // namespace

std::vector<Handler>* legacySlots(int event) {
  return event >= 1 && event <= w32LastEventType ? kLegacySlots[event] : nullptr;
}

void startRegistry() {
  if (vRegistryStarted)
    return;
  vRegistryStarted = true;
  buildClassTable();
  // Called on every message: bound now.
  w32CallHandle(rtn::SendMessageA);
  w32CallHandle(rtn::GetWindowLongA);
  // Entry 0 of every column stands for "no control".
  growColumns(1);
  setControlBlocks(2);
  NewControl(Screen_, 0);
  NewControl(Printer_, 0);
  setControlBlocks(16);
}

int NewControl(int cls, int owner) {
  int id = ctlblk_freelist.back();
  if (id != 0) {
    ctlblk_freelist.pop_back();
  } else {
    for (int slot = controlCount(); slot >= vPrevCtlBlkLength; --slot) {
      if (ctrl_Destroyed[slot] == kSlotFree) {
        id = slot;
        break;
      }
    }
  }
  if (id == 0) {
    vPrevCtlBlkLength = controlCount() + 1;
    growColumns(vEmptySlots);
    id = vPrevCtlBlkLength;
  }

  initSlot(id, cls, owner);
  if (inTable(owner))
    ctrl_Group[owner].push_back(id);
  if (classAttr[cls] & w32AutoSelect)
    defineUserProperty(id, "AutoSelect", 1);
  for (std::vector<Handler>* slots : kLegacySlots)
    if (slots)
      (*slots)[id] = nullptr;
  return id;
}

HOT_PATH bool validId(int id) {
  // Bounded, so that an owner chain that loops back cannot hang the program.
  for (int step = 0; step <= controlCount(); ++step) {
    if (!inTable(id) || ctrl_Destroyed[id] < 0 || ctrl_Handle[id] == 0)
      return false;
    id = ctrl_Parent[id];
    if (id == 0)
      return true;
  }
  return false;
}

HOT_PATH int getHandle(int id) {
  if (id == 0)
    return 0;
  if (!validId(id)) {
    if (!inTable(id))
      warnErr(w32code::GetHandleFailed);
    else if (ctrl_Destroyed[id] < 0)
      warnErr(w32code::DestroyedObject);
    else
      warnErr(w32code::NullHandle);
    return 0;
  }
  const int handle = ctrl_Type[id] == TabItem ? ctrl_Handle[ctrl_Parent[id]] : ctrl_Handle[id];
  if (ctrl_Handle_type[id] == kht_Window) {
    const int attached = getId(handle);
    if (attached != id)
      warnErr({w32code::HandleReattached, {id, attached}});
  }
  return handle == -1 ? 0 : handle;
}

HOT_PATH int getId(int hWnd) {
  if (hWnd == 0)
    return 0;
  const int stored = w32Call(rtn::GetWindowLongA, hWnd, GWL_USERDATA);
  return inTable(stored) ? stored : 0;
}

void setId(int hWnd, int id) {
  w32Func(rtn::SetWindowLongA, {hWnd, GWL_USERDATA, id});
}

int findParent(int id) {
  return inTable(id) ? ctrl_Parent[id] : 0;
}

int getParent(int id) {
  return findParent(id);
}

std::vector<ChildEntry> findChildren(int id) {
  std::vector<ChildEntry> children;
  if (!inTable(id))
    return children;
  if (ctrl_Type[id] == TabItem) {
    for (int child : ctrl_Group[id])
      children.push_back({child, ctrl_Type[child]});
    return children;
  }
  const bool tabControl = ctrl_Type[id] == TabControl;
  for (int slot = 1; slot <= controlCount(); ++slot) {
    if (ctrl_Parent[slot] == id && (!tabControl || ctrl_Type[slot] == TabItem))
      children.push_back({slot, ctrl_Type[slot]});
  }
  return children;
}

int findParentWindow(int id) {
  if (!inTable(id))
    return 0;
  if (ctrl_Parent[id] == 0 || isTopLevelWindow(id))
    return id;
  for (int step = 0; step <= controlCount(); ++step) {
    id = ctrl_Parent[id];
    if (!inTable(id))
      return 0;
    if (ctrl_Family[id] == WINDOW)
      return id;
  }
  return 0;
}

bool isTopLevelWindow(int id) {
  if (!validId(id) || ctrl_Family[id] != WINDOW)
    return false;
  const int style = w32Call(rtn::GetWindowLongA, ctrl_Handle[id], GWL_STYLE);
  return (style & WS_CHILD) == 0;
}

int getMainWindow() {
  return mainWindow;
}

int setMainWindow(int id) {
  const int previous = mainWindow;
  mainWindow = id;
  return previous;
}

HOT_PATH int resolveControl(const ControlRef& control) {
  if (const int* id = std::get_if<int>(&control))
    return *id;
  return getNameId(std::get<std::string>(control));
}

std::string makeStandardName(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return "";
  const std::size_t last = text.find_last_not_of(" \t");
  std::string name;
  for (std::size_t i = first; i <= last; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!isNameChar(c) || (name.empty() && !std::isalpha(c)))
      continue;
    name += static_cast<char>(c);
  }
  return name;
}

std::string getIdName(int id) {
  return validId(id) ? ctrl_Name[id] : "";
}

void setIdName(int id, const std::string& name) {
  if (inTable(id))
    ctrl_Name[id] = makeStandardName(name);
}

int getNameId(const std::string& name) {
  const std::string wanted = makeStandardName(name);
  if (wanted.empty())
    return 0;
  for (int id = 1; id <= controlCount(); ++id) {
    if (ctrl_Destroyed[id] != kSlotFree && ctrl_Name[id] == wanted)
      return id;
  }
  return 0;
}

int getNameId(const std::string& name, const ControlRef& parent) {
  const std::string wanted = makeStandardName(name);
  int root = resolveControl(parent);
  if (root <= 0)
    root = vRecent.container > 0 ? vRecent.container : mainWindow > 0 ? mainWindow : Screen;
  if (wanted.empty() || !inTable(root))
    return 0;
  std::vector<int> queue = {root};
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const int id = queue[next];
    if (ctrl_Destroyed[id] != kSlotFree && ctrl_Name[id] == wanted)
      return id;
    for (int member : ctrl_Group[id])
      if (std::find(queue.begin(), queue.end(), member) == queue.end())
        queue.push_back(member);
  }
  return 0;
}

void defineUserProperty(int id, const std::string& name, int value) {
  PropertyList& properties = ctrl_UserData[id];
  const auto found = std::find(properties.names.begin(), properties.names.end(), name);
  if (found != properties.names.end()) {
    properties.values[found - properties.names.begin()] = value;
    return;
  }
  properties.names.push_back(name);
  properties.values.push_back(value);
  properties.defaults.push_back(value);
}

std::optional<int> getUserProperty(int id, const std::string& name) {
  if (!inTable(id))
    return std::nullopt;
  const PropertyList& properties = ctrl_UserData[id];
  const auto found = std::find(properties.names.begin(), properties.names.end(), name);
  if (found == properties.names.end())
    return std::nullopt;
  return properties.values[found - properties.names.begin()];
}

void setControlBlocks(int count) {
  if (count >= 1)
    vEmptySlots = count;
}

HOT_PATH int sendMessage(const ControlRef& control, int message, const W32Arg& wParam, const W32Arg& lParam) {
  const int id = resolveControl(control);
  // An id outside the table has no window to send to; the null window receives nothing.
  const int hWnd = inTable(id) ? ctrl_Handle[id] : 0;
  const auto* wordW = std::get_if<std::uint32_t>(&wParam.value);
  const auto* wordL = std::get_if<std::uint32_t>(&lParam.value);
  if (wordW && wordL)
    return w32Call(rtn::SendMessageA, hWnd, message, *wordW, *wordL);
  return w32Func(rtn::SendMessageA, {hWnd, message, wParam, lParam});
}
