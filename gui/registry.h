#pragma once
// The control registry: everything the framework knows about each window, control, menu and
// tab item, in parallel columns indexed by control id; id allocation and reuse, the validity
// test, and the handle, name and parent/child lookups. Native handles stay in here.
#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "gui/class_table.h"
#include "gui/colour.h"
#include "gui/event_types.h"
#include "support/w32dll.h"

// The two pseudo-controls the framework creates before anything else.
constexpr int Screen = 1;
constexpr int Printer = 2;

// Kinds of native handle (ctrl_Handle_type).
constexpr int kht_Window = 1;
constexpr int kht_Bitmap = 2;
constexpr int kht_Menu = 3;
constexpr int kht_TabItem = 4;
constexpr int kht_ImageList = 5;

// ctrl_Destroyed states.
constexpr int kSlotFree = -1;
constexpr int kSlotLive = 0;
constexpr int kSlotDestroying = 2;

// ctrl_Closed of a window that was never opened.
constexpr int kNeverOpened = -11;

struct FontRecord {
  std::string face;
  double points = 0;
  int attributes = 0;
  int colour = 0;
  bool operator==(const FontRecord&) const = default;
};
// The font record every new control starts with; control creation may replace it.
extern FontRecord FontDefaults;

struct PenRecord {
  int style = 0;  // PS_SOLID
  int width = 1;
  int colour = 0;
};

// {min, max} or {small step, large step}, horizontal then vertical.
using ScrollPairs = std::array<std::array<int, 2>, 2>;

// A window uses menuBar; a menu or menu item the rest (see the menus unit).
struct MenuRecord {
  int menuBar = 0;
  int parentMenu = 0;
  int flags = 0;
  int commandId = 0;
  int family = 0;
};

// Controls subscribed to this control's events: receivers[i] gets a w32HNotify for each of
// events[i], with the matching userData[i] entry.
struct NotifyList {
  std::vector<int> receivers;
  std::vector<std::vector<int>> events;
  std::vector<std::vector<int>> userData;
};

// Named integer values kept per control.
struct PropertyList {
  std::vector<std::string> names;
  std::vector<int> values;
  std::vector<int> defaults;
};

struct DeferredHandler {
  int event;
  Handler routine;
};

// One handler list per event type; event type t is element t - 1.
using HandlerLists = std::array<std::vector<Handler>, w32LastEventType>;

// Every column has one entry per id; entry 0 is never a control.
extern std::vector<int> ctrl_Destroyed;
extern std::vector<int> ctrl_Handle;
extern std::vector<int> ctrl_Handle_type;
extern std::vector<int> ctrl_Function;
extern std::vector<int> ctrl_Family;
extern std::vector<int> ctrl_Type;
extern std::vector<std::vector<int>> ctrl_Focus_order;
extern std::vector<int> ctrl_Current_focus;
extern std::vector<int> ctrl_Previous_focus;
extern std::vector<int> ctrl_Parent;
extern std::vector<int> ctrl_X_Pos;
extern std::vector<int> ctrl_Y_Pos;
extern std::vector<bool> ctrl_Erase;
extern std::vector<FontRecord> ctrl_Font;
extern std::vector<PenRecord> ctrl_Pen;
extern std::vector<Colour> ctrl_Fg_Color;
extern std::vector<Colour> ctrl_Bg_Color;
extern std::vector<ScrollPairs> ctrl_Range;
extern std::vector<ScrollPairs> ctrl_Scroll;
extern std::vector<std::vector<int>> ctrl_Tabitems;
extern std::vector<std::vector<int>> ctrl_Group;
extern std::vector<std::vector<int>> ctrl_Cursor;
extern std::vector<MenuRecord> ctrl_Menu;
extern std::vector<std::array<int, 4>> ctrl_Popup;
extern std::vector<NotifyList> ctrl_Notify_List;
extern std::vector<int> ctrl_Toolbar;
extern std::vector<int> ctrl_Statusbar;
extern std::vector<std::string> ctrl_Hint_Text;
extern std::vector<int> ctrl_Hint_Width;
extern std::vector<std::vector<int>> ctrl_Hotkey_Keys;
extern std::vector<std::vector<int>> ctrl_Hotkey_Ids;
extern std::vector<int> ctrl_Text_Alignment;
extern std::vector<int> ctrl_Closed;
extern std::vector<int> ctrl_TabKey_Used;
extern std::vector<HandlerLists> ctrl_Handlers;
extern std::vector<int> ctrl_Bg_Brush;
extern std::vector<PropertyList> ctrl_UserData;
extern std::vector<PropertyList> ctrl_IntData;  // names and values only
extern std::vector<std::string> ctrl_Name;      // "" until a name is set
extern std::vector<std::vector<DeferredHandler>> ctrl_Deferred_Handlers;
extern std::vector<bool> ctrl_Auto_Height;
extern std::vector<bool> ctrl_Auto_Width;
extern std::vector<std::array<std::vector<int>, 2>> ctrl_Init_Posns;
extern std::vector<int> ctrl_ClassAddr;
extern std::vector<std::vector<std::array<int, 4>>> ctrl_Mousetrap;

// The single-routine handler slots of the classic events, consulted only while the legacy
// handler mode is on (see the handlers unit); nullptr is no routine.
extern std::vector<Handler> onMouse, onClick, onKeyPress, onKeyUp, onKeyDown, onResize, onChange, onGotFocus,
    onLostFocus, onOpen, onActivate, onClose, onDestroy, onScroll, onTimer, onPaint, onDragAndDrop, onEvent;
// The legacy slot column of an event type, nullptr for the types that have none.
std::vector<Handler>* legacySlots(int event);

// Allocation state: reusable ids, most recently freed last (0 marks the end); the lowest id
// of the newest block of slots; the number of slots each growth adds.
extern std::vector<int> ctlblk_freelist;
extern int vPrevCtlBlkLength;
extern int vEmptySlots;

// The ids of the most recently created container (window, group or tab item), menu and tab
// control: where controls created without an owner go. Control creation keeps them.
struct RecentIds {
  int container = 0;
  int menu = 0;
  int tabControl = 0;
};
extern RecentIds vRecent;

// Builds the class table and creates Screen (1) and Printer (2). Runs once when the framework
// starts; later calls do nothing.
void startRegistry();

// The number of id slots.
inline int controlCount() {
  return static_cast<int>(ctrl_Destroyed.size()) - 1;
}

// Allocates and initialises a slot for a control of the class under the owner; only control
// creation calls it. Freed ids come back first, most recently freed first.
int NewControl(int cls, int owner);

// A live slot with a handle whose owners are all valid too.
bool validId(int id);

// The control's native handle (for a tab item, its tab control's), 0 for an invalid id.
// Invalid ids other than 0, and a window that now carries another control's id, are
// reported as warnings.
int getHandle(int id);

// The control id kept in a native window's user-data word, 0 when it holds none.
int getId(int hWnd);
void setId(int hWnd, int id);

int findParent(int id);
int getParent(int id);

struct ChildEntry {
  int id;
  int cls;
  bool operator==(const ChildEntry&) const = default;
};
// A tab item's dependants; a tab control's tab items; otherwise every slot naming id as its
// parent, freed ones included, in ascending order.
std::vector<ChildEntry> findChildren(int id);

// The nearest enclosing window (the control itself when top level), 0 when there is none.
int findParentWindow(int id);
bool isTopLevelWindow(int id);

int getMainWindow();
int setMainWindow(int id);  // returns the previous main window

// A control named by id or by name.
using ControlRef = std::variant<int, std::string>;
int resolveControl(const ControlRef& control);

// Blanks trimmed, only name characters kept, and never a digit or punctuation first.
std::string makeStandardName(const std::string& text);
std::string getIdName(int id);
void setIdName(int id, const std::string& name);
// The first live control with that standard name, 0 when there is none.
int getNameId(const std::string& name);
// The same, searched among the parent and everything created inside it, breadth first. A
// parent of 0 or less means the most recent container, else the main window, else Screen.
int getNameId(const std::string& name, const ControlRef& parent);

// User properties of a control (ctrl_UserData).
void defineUserProperty(int id, const std::string& name, int value);
std::optional<int> getUserProperty(int id, const std::string& name);

// Sets how many slots the registry grows by; counts below 1 are ignored.
void setControlBlocks(int count);

// SendMessageA to the control's window; texts and byte lists travel in native memory that
// lives for the call.
int sendMessage(const ControlRef& control, int message, const W32Arg& wParam, const W32Arg& lParam);
