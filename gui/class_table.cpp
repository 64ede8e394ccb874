#include "gui/class_table.h"

#include <windows.h>

#include <commctrl.h>

#include "support/w32dll.h"

ClassColumn<std::string> className;
ClassColumn<int> classType;
ClassColumn<std::uint32_t> classStyle;
ClassColumn<std::uint32_t> classStyleEx;
ClassColumn<int> classAttr;
ClassColumn<int> classDefPointer;
ClassColumn<Colour> classBGColor;
ClassColumn<Colour> classFGColor;
std::vector<std::uint32_t> vWindowClassStyle;

namespace {

// A child that does not paint over its siblings.
constexpr std::uint32_t WS_CLIPPINGCHILD = WS_CHILD | WS_CLIPSIBLINGS;
constexpr std::uint32_t kChild = WS_CLIPPINGCHILD | WS_VISIBLE;
constexpr int kArrow = 32512;  // IDC_ARROW
constexpr int kIBeam = 32513;  // IDC_IBEAM

struct Row {
  const char* name;
  int family;
  std::uint32_t style;
  std::uint32_t styleEx;
  int attr;
  int pointer;
  Colour background;
};

void setRow(int cls, const Row& row) {
  className[cls] = row.name;
  classType[cls] = row.family;
  classStyle[cls] = row.style;
  classStyleEx[cls] = row.styleEx;
  classAttr[cls] = row.attr;
  classDefPointer[cls] = row.pointer;
  classBGColor[cls] = row.background;
}

std::vector<std::uint32_t> setBits(std::uint32_t value) {
  std::vector<std::uint32_t> bits;
  for (std::uint32_t bit = 1; bit != 0; bit <<= 1)
    if (value & bit)
      bits.push_back(bit);
  return bits;
}

std::uint32_t orOf(const StyleFlags& flags) {
  if (const auto* number = std::get_if<std::uint32_t>(&flags))
    return *number;
  std::uint32_t result = 0;
  for (std::uint32_t flag : std::get<std::vector<std::uint32_t>>(flags))
    result |= flag;
  return result;
}

}  // namespace

void buildClassTable() {
  for (int cls = 0; cls <= NumClasses; ++cls) {
    setRow(cls, {"", kNoFamily, 0, 0, 0, kArrow, WindowColor});
    classFGColor[cls] = w32Color_WINDOWTEXT;
  }
  vWindowClassStyle = {CS_DBLCLKS};

  const Colour transparent = w32BGTransparent;
  const Colour native = w32WinDefColor;
  const std::uint32_t button = kChild | WS_TABSTOP;
  const std::uint32_t list = kChild | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY;
  const std::uint32_t combo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL;
  const std::uint32_t edit = kChild | WS_TABSTOP | WS_BORDER | ES_LEFT;
  const std::uint32_t label = kChild | SS_NOTIFY;

  // The classes the application creates.
  setRow(Window, {"", WINDOW, WS_OVERLAPPEDWINDOW, WS_EX_ACCEPTFILES, w32Clickable, kArrow, WindowColor});
  setRow(PushButton, {"button", BUTTON, button | BS_PUSHBUTTON, 0, 0, kArrow, transparent});
  setRow(CheckBox, {"button", BUTTON, button | BS_AUTOCHECKBOX | BS_NOTIFY, 0, w32UseSubProc, kArrow, transparent});
  setRow(Group, {"button", BUTTON, button | BS_GROUPBOX, WS_EX_TRANSPARENT, w32Clickable | w32UseSubProc, kArrow,
                 WindowColor});
  setRow(EditText,
         {"edit", EDIT, edit | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, w32AutoSelect, kIBeam, native});
  setRow(LText, {"static", STATIC, label | SS_LEFT, 0, 0, kArrow, transparent});
  setRow(Icon, {"static", STATIC, label | SS_ICON, 0, 0, kArrow, WindowColor});
  setRow(StatusBar, {STATUSCLASSNAMEA, COMMON_CONTROL, kChild | CCS_BOTTOM, 0, w32Clickable | w32OwnerId | w32Statusbar,
                     kArrow, WindowColor});
  setRow(TabControl, {WC_TABCONTROLA, COMMON_CONTROL, kChild | WS_CLIPCHILDREN | WS_TABSTOP, 0,
                      w32Clickable | w32OwnerId, kArrow, WindowColor});
  setRow(TabItem, {"w32 TabItem", kNoFamily, 0, 0, w32Clickable | w32Virtual, kArrow, native});
  setRow(Menu, {"", MENU, 0, 0, w32NoConv, kArrow, WindowColor});
  setRow(MenuItem, {"", MENUITEM, 0, 0, w32NoConv, kArrow, WindowColor});
  setRow(Screen_, {"", kNoFamily, 0, 0, w32NoConv, kArrow, WindowColor});
  setRow(Printer_, {"", kNoFamily, 0, 0, w32NoConv, kArrow, WindowColor});

  // The others, which nothing in this program creates: enough to tell them apart.
  setRow(DefPushButton, {"button", BUTTON, button | BS_DEFPUSHBUTTON, 0, w32UseSubProc, kArrow, transparent});
  setRow(CancelButton, {"button", BUTTON, button | BS_PUSHBUTTON, 0, w32AutoCancel, kArrow, transparent});
  setRow(TriCheckBox, {"button", BUTTON, button | BS_AUTO3STATE | BS_NOTIFY, 0, w32UseSubProc, kArrow, transparent});
  setRow(Radio, {"button", BUTTON, kChild | BS_AUTORADIOBUTTON | BS_NOTIFY, WS_EX_TRANSPARENT, w32UseSubProc, kArrow,
                 transparent});
  setRow(SortedList, {"listbox", LISTBOX, list | LBS_SORT, WS_EX_CLIENTEDGE, 0, kArrow, native});
  setRow(List, {"listbox", LISTBOX, list, WS_EX_CLIENTEDGE, 0, kArrow, native});
  setRow(Combo, {"combobox", COMBO, combo | CBS_DROPDOWN, 0, 0, kArrow, native});
  setRow(SortedCombo, {"combobox", COMBO, combo | CBS_DROPDOWN | CBS_SORT, 0, 0, kArrow, native});
  setRow(SimpleCombo, {"combobox", COMBO, combo | CBS_SIMPLE, 0, 0, kArrow, native});
  setRow(DropDownList, {"combobox", COMBO, combo | CBS_DROPDOWNLIST, 0, 0, kArrow, native});
  setRow(MleText, {"edit", EDIT, edit | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL,
                   WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, w32CtrlTab, kIBeam, native});
  setRow(RText, {"static", STATIC, label | SS_RIGHT, 0, 0, kArrow, transparent});
  setRow(CText, {"static", STATIC, label | SS_CENTER, 0, 0, kArrow, transparent});
  setRow(Bitmap, {"static", STATIC, label | SS_BITMAP, 0, w32PictCtrl, kArrow, WindowColor});
  setRow(HScroll, {"scrollbar", SCROLLBAR, kChild | SBS_HORZ, 0, w32UseSubProc | w32NoRenderDisabled, kArrow, native});
  setRow(VScroll, {"scrollbar", SCROLLBAR, kChild | SBS_VERT, 0, w32UseSubProc | w32NoRenderDisabled, kArrow, native});
  setRow(Popup, {"", POPUP, 0, 0, w32NoConv, kArrow, WindowColor});
  setRow(MenuSpacer, {"", MENUITEM, 0, 0, w32NoConv, kArrow, WindowColor});
  setRow(Pixmap, {"", PIXMAP, 0, 0, w32NoConv, kArrow, WindowColor});
  const int bar = w32NoConv | w32Toolbar | w32OwnerId | w32Clickable;
  setRow(ToolBar, {TOOLBARCLASSNAMEA, COMMON_CONTROL, kChild | CCS_TOP, 0, bar, kArrow, WindowColor});
  setRow(FlatToolBar,
         {TOOLBARCLASSNAMEA, COMMON_CONTROL, kChild | CCS_TOP | TBSTYLE_FLAT, 0, bar, kArrow, WindowColor});
  setRow(PictureButton, {"button", COMMON_CONTROL, button | BS_ICON, 0, w32PictCtrl, kArrow, transparent});
  setRow(ToggleButton, {"button", COMMON_CONTROL, button | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 0, kArrow, transparent});
  setRow(TogglePicture, {"button", COMMON_CONTROL, button | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON, 0, w32PictCtrl,
                         kArrow, transparent});
  setRow(SepButton, {"button", COMMON_CONTROL, button, 0, 0, kArrow, transparent});
  setRow(HTrackBar, {TRACKBAR_CLASSA, COMMON_CONTROL, kChild | WS_TABSTOP | TBS_HORZ, 0, 0, kArrow, WindowColor});
  setRow(VTrackBar, {TRACKBAR_CLASSA, COMMON_CONTROL, kChild | WS_TABSTOP | TBS_VERT, 0, 0, kArrow, WindowColor});
  setRow(ProgressBar, {PROGRESS_CLASSA, COMMON_CONTROL, kChild, 0, 0, kArrow, WindowColor});
  setRow(ListView, {WC_LISTVIEWA, COMMON_CONTROL, kChild | WS_TABSTOP, WS_EX_CLIENTEDGE, 0, kArrow, native});
  setRow(TreeView, {WC_TREEVIEWA, COMMON_CONTROL, kChild | WS_TABSTOP, WS_EX_CLIENTEDGE, 0, kArrow, native});
  // Named at the first creation, after the rich-edit library that loads then.
  setRow(RichEdit,
         {"", COMMON_CONTROL, edit | ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE, w32CtrlTab, kIBeam, native});
  setRow(MonthCalendar, {MONTHCAL_CLASSA, COMMON_CONTROL, kChild | WS_TABSTOP, 0, 0, kArrow, WindowColor});
  setRow(UpDown, {UPDOWN_CLASSA, COMMON_CONTROL, kChild, 0, 0, kArrow, WindowColor});
  setRow(ReBar, {REBARCLASSNAMEA, COMMON_CONTROL, kChild | CCS_TOP, 0, w32NoConv, kArrow, WindowColor});
  setRow(ToolTip, {TOOLTIPS_CLASSA, COMMON_CONTROL, WS_POPUP | TTS_ALWAYSTIP, 0, 0, kArrow, WindowColor});
  setRow(ComboBoxEx, {WC_COMBOBOXEXA, COMMON_CONTROL, combo | CBS_DROPDOWN, 0, 0, kArrow, native});
}

std::vector<ClassSetting> changeClassDefaults(int cls, const std::vector<ClassSetting>& settings) {
  if (cls < 1 || cls > NumClasses)
    return {};
  std::vector<ClassSetting> previous = {
      {CCflags, setBits(classStyle[cls])}, {CCexflags, setBits(classStyleEx[cls])}, {CCwinstyle, vWindowClassStyle}};
  for (const ClassSetting& setting : settings) {
    if (setting.key == CCflags) {
      classStyle[cls] = orOf(setting.value);
    } else if (setting.key == CCexflags) {
      classStyleEx[cls] = orOf(setting.value);
    } else if (setting.key == CCwinstyle) {
      const auto* number = std::get_if<std::uint32_t>(&setting.value);
      vWindowClassStyle = number ? setBits(*number) : std::get<std::vector<std::uint32_t>>(setting.value);
    }
  }
  return previous;
}
