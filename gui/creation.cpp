#include "gui/creation.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "gui/control_looks.h"
#include "gui/control_state.h"
#include "gui/fonts.h"
#include "gui/handlers.h"
#include "gui/menus.h"
#include "gui/message_dispatch.h"
#include "gui/position.h"
#include "gui/registry.h"
#include "gui/status_bar.h"
#include "support/w32dll.h"
#include "support/w32msgs.h"

std::string vAppName = "Larkspur AppWindow";
int regCount = 1;
void (*r_openWindow)(int id, int style) = nullptr;

namespace {

// IDI_APPLICATION as the number it stands for (the platform's macro makes it a pointer).
constexpr int kApplicationIcon = 32512;

// The framework's normal show style.
constexpr int kNormalStyle = 0;

// One tool-tip window carries the hints of every control.
int vHintWindow = 0;

// Plain buttons, edit fields, labels and scroll bars, the two common controls the application
// uses, and rich edit fields. Lists, combos, pictures, tool bars and the other common controls
// would need paths of their own that nothing here uses.
bool isNativeClass(int cls) {
  const int family = classType[cls];
  const bool plain = family == BUTTON || family == EDIT || family == STATIC || family == SCROLLBAR;
  return (plain && !(classAttr[cls] & w32PictCtrl)) || cls == StatusBar || cls == TabControl || cls == RichEdit;
}

bool isCreatable(int cls) {
  if (cls < 1 || cls > NumClasses)
    return false;
  switch (cls) {
    case Window:
    case Menu:
    case Popup:
    case MenuItem:
    case MenuSpacer:
    case TabItem:
      return true;
    default:
      return isNativeClass(cls);
  }
}

int defaultOwner(int cls) {
  switch (cls) {
    case MenuItem:
    case MenuSpacer:
      return vRecent.menu;
    case TabItem:
      return vRecent.tabControl;
    case Window:
      return 0;
    default:
      return vRecent.container;
  }
}

bool endsWithIco(const std::string& caption) {
  if (caption.size() < 4)
    return false;
  std::string ending = caption.substr(caption.size() - 4);
  std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return std::toupper(c); });
  return ending == ".ICO";
}

void registerClass(const void* className) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  for (std::uint32_t flag : vWindowClassStyle)
    windowClass.style |= flag;
  windowClass.lpfnWndProc = WndProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  int icon = w32Func(rtn::LoadIconA, {GetModuleHandleA(nullptr), "appw"});
  if (icon == 0)
    icon = w32Func(rtn::LoadIconA, {0, kApplicationIcon});
  windowClass.hIcon = reinterpret_cast<HICON>(icon);
  windowClass.hIconSm = reinterpret_cast<HICON>(icon);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = static_cast<const char*>(className);
  if (w32Func(rtn::RegisterClassExA, {&windowClass}) == 0)
    abortErr(w32code::RegisterClass);
}

void createWindow(int id,
                  const std::string& caption,
                  int owner,
                  const Placement& at,
                  const StyleArg& style,
                  const StyleArg& exStyle) {
  // The class name must outlive the window: it is released when the window is destroyed.
  void* className = w32acquire_mem(0, w32Format("%s %d", {vAppName, regCount}));
  ++regCount;
  registerClass(className);
  ctrl_ClassAddr[id] = static_cast<int>(reinterpret_cast<std::uintptr_t>(className));

  const std::uint32_t windowStyle = style.apply(classStyle[Window]);
  const int hWnd = w32Func(rtn::CreateWindowExA,
                           {exStyle.apply(classStyleEx[Window]), className, caption, windowStyle, at.x, at.y, at.cx,
                            at.cy, owner != 0 ? ctrl_Handle[owner] : 0, 0, GetModuleHandleA(nullptr), 0});
  if (hWnd == 0)
    abortErr(w32code::CreateWindow);

  vRecent.container = id;
  setId(hWnd, id);
  ctrl_Handle[id] = hWnd;
  ctrl_Handle_type[id] = kht_Window;
  ctrl_Parent[id] = owner;
  setCreatedBackColor(id, ctrl_Bg_Color[id]);
  setFont(id, FontDefaults.face, FontDefaults.points, FontDefaults.attributes);

  if (owner == 0)
    return;
  if ((windowStyle & WS_VISIBLE) && r_openWindow)
    r_openWindow(id, kNormalStyle);
  if (windowStyle & WS_TABSTOP)
    ctrl_Focus_order[owner].push_back(id);
}

// The framework sees the control's messages first; its own procedure is kept for default
// processing.
void subClassControl(int id, int hWnd) {
  if (hWnd == 0)
    abortErr(w32code::NoControlHandle);
  setId(hWnd, id);
  ctrl_Handle[id] = hWnd;
  ctrl_Handle_type[id] = kht_Window;
  ctrl_Function[id] = w32Func(rtn::SetWindowLongA, {hWnd, GWL_WNDPROC, reinterpret_cast<const void*>(SubProc)});
}

// A transparent control shows the background of the nearest owner that has one of its own.
Colour inheritedBackground(int cls, int owner) {
  const Colour& own = classBGColor[cls];
  if (!(own == w32BGTransparent))
    return own;
  for (int step = 0, up = owner; up != 0 && step <= controlCount(); ++step, up = ctrl_Parent[up])
    if (!(ctrl_Bg_Color[up] == w32BGTransparent))
      return ctrl_Bg_Color[up];
  return own;
}

void createControl(int id,
                   int cls,
                   const std::string& caption,
                   int owner,
                   const Placement& at,
                   const StyleArg& style,
                   const StyleArg& exStyle) {
  if (cls == RichEdit)
    className[RichEdit] = richEditClass();
  const std::uint32_t controlStyle = style.apply(classStyle[cls]);
  const int childId = (classAttr[cls] & w32OwnerId) ? owner : 0;
  const int nativeParent = (classAttr[cls] & w32Virtual) ? ctrl_Parent[owner] : owner;
  const int hWnd =
      w32Func(rtn::CreateWindowExA,
              {exStyle.apply(classStyleEx[cls]), className[cls], caption, controlStyle, at.x, at.y, at.cx, at.cy,
               nativeParent != 0 ? ctrl_Handle[nativeParent] : 0, childId, GetModuleHandleA(nullptr), 0});
  subClassControl(id, hWnd);
  if ((controlStyle & WS_TABSTOP) && owner != 0)
    ctrl_Focus_order[owner].push_back(id);
  setCreatedBackColor(id, inheritedBackground(cls, owner));
}

void createTabItem(int id, const std::string& caption, int owner) {
  if (!validId(owner) || ctrl_Type[owner] != TabControl)
    abortErr(w32code::TabItemParent);
  ctrl_Tabitems[owner].push_back(id);
  std::string text = caption;
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.iImage = -1;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  if (sendMessage(owner, TCM_INSERTITEMA, static_cast<int>(ctrl_Tabitems[owner].size()), &item) == -1)
    abortErr(w32code::CreateTabItem);
  ctrl_Handle[id] = ctrl_Handle[owner];
  ctrl_Handle_type[id] = kht_TabItem;
  vRecent.container = id;
}

// The hint shows as a tool tip over the control's own window.
void setHintEx(int id, const std::string& hint) {
  ctrl_Hint_Text[id] = hint;
  if (ctrl_Handle_type[id] != kht_Window)
    return;
  if (vHintWindow == 0)
    vHintWindow = w32Func(rtn::CreateWindowExA,
                          {WS_EX_TOPMOST, TOOLTIPS_CLASSA, 0, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, GetModuleHandleA(nullptr), 0});
  std::string text = hint;
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = reinterpret_cast<HWND>(ctrl_Handle[ctrl_Parent[id]]);
  tool.uId = static_cast<UINT_PTR>(ctrl_Handle[id]);
  tool.lpszText = text.data();
  w32Func(rtn::SendMessageA, {vHintWindow, TTM_SETMAXTIPWIDTH, 0, ctrl_Hint_Width[id]});
  w32Func(rtn::SendMessageA, {vHintWindow, TTM_ADDTOOLA, 0, &tool});
}

// The auto-close click handler.
void closeOwnWindow(int self, int, const EventParams&) {
  closeWindow(findParentWindow(self));
}

// A status bar follows its window's size; the window's first status bar is the one its
// client area leaves room for.
void adoptStatusBar(int id, int owner) {
  if (owner == 0 || ctrl_Statusbar[owner] != 0)
    return;
  ctrl_Statusbar[owner] = id;
  setHandler(id, w32HNotify, statusbar_resize);
  registerNotification(owner, kSubscribe, w32HResize, id, 0);
}

}  // namespace

void registerHotKey(int id, int key) {
  const int window = findParentWindow(id);
  if (window == 0)
    return;
  ctrl_Hotkey_Keys[window].push_back(key);
  ctrl_Hotkey_Ids[window].push_back(id);
}

void registerHotKey(int id, const std::string& caption) {
  if (ctrl_Type[id] == DefPushButton)
    registerHotKey(id, VK_RETURN);
  const std::size_t ampersand = caption.find('&');
  if (ampersand == std::string::npos || ampersand + 1 == caption.size())
    return;
  registerHotKey(id, std::toupper(static_cast<unsigned char>(caption[ampersand + 1])));
}

int createEx(int cls,
             const Caption& caption,
             int owner,
             const Position& x,
             const Position& y,
             const Position& cx,
             const Position& cy,
             const StyleArg& style,
             const StyleArg& exStyle) {
  // The default font record is settled before the first control takes it.
  static const bool vFontDefaultsLoaded = (loadFontDefaults(), true);
  (void)vFontDefaultsLoaded;
  if (!isCreatable(cls))
    abortErr("create(): controls of class " + std::to_string(cls) + " cannot be created.");
  if (owner != 0 && !validId(owner))
    abortErr(w32code::InvalidParent);
  if (owner == 0)
    owner = defaultOwner(cls);

  const int id = NewControl(cls, owner);
  const std::string& text = caption.text;
  setIdName(id, text);
  registerHotKey(id, text);
  if (cls == CancelButton)
    registerHotKey(id, VK_ESCAPE);

  Placement at;
  PanelLayout panels;
  if (cls == StatusBar) {
    at.cy = convPctToPixel(id, 0, 0, 0, cy).cy;
    if (y.kind == Position::Layout)
      panels = y.layout;
  } else {
    at = convPctToPixel(id, x, y, cx, cy);
  }

  const bool native = isNativeClass(cls);
  if (cls == Window) {
    createWindow(id, text, owner, at, style, exStyle);
  } else if (cls == Menu || cls == Popup) {
    createMenu(id, text, owner);
  } else if (cls == MenuItem) {
    createMenuItem(id, text, owner, style.apply(0));
  } else if (cls == MenuSpacer) {
    createMenuItem(id, "-", owner, 0);
  } else if (cls == TabItem) {
    createTabItem(id, text, owner);
    setFocus(id);
  } else {
    createControl(id, cls, text, owner, at, style, exStyle);
  }

  if (!caption.hint.empty())
    setHintEx(id, caption.hint);
  if (classAttr[cls] & w32Statusbar)
    adoptStatusBar(id, owner);

  if (native) {
    // The stock font is what a control shows when no font of the default record can be made;
    // otherwise the default font replaces it at once, so it is only sent when needed.
    const FontRecord& font = FontDefaults;
    if (!setFont(id, font.face, font.points, font.attributes | (cls == CancelButton ? kFontItalic : 0)))
      sendMessage(id, WM_SETFONT, w32Func(rtn::GetStockObject, {ANSI_VAR_FONT}), 1);
    if (cls == TabControl)
      vRecent.tabControl = id;
    if (cls == Group)
      vRecent.container = id;
    if (cls == StatusBar) {
      noteStatusBarTips(id);
      if (!panels.empty())
        setSubFields(id, panels);
      if (at.cy > 0)
        sendMessage(id, SB_SETMINHEIGHT, at.cy, 0);
    }
    if (cls == Icon && endsWithIco(text))
      setIcon(id, text);
  }

  if (style.autoClose)
    setHandler(id, w32HClick, closeOwnWindow);
  return id;
}

int create(int cls,
           const Caption& caption,
           int owner,
           const Position& x,
           const Position& y,
           const Position& cx,
           const Position& cy,
           const StyleArg& style) {
  return createEx(cls, caption, owner, x, y, cx, cy, style, 0);
}
