#pragma once
// The class table: for every kind of control the framework can create, the native window
// class it is built on, its family, default window styles, the attribute bits that switch
// framework behaviour, its default cursor and colours. Also the class constants themselves.
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "gui/colour.h"

// Class constants, in table order; each indexes the class table (index 0 is unused).
constexpr int Window = 1;
constexpr int PushButton = 2;
constexpr int DefPushButton = 3;
constexpr int CancelButton = 4;
constexpr int CheckBox = 5;
constexpr int TriCheckBox = 6;
constexpr int Radio = 7;
constexpr int Group = 8;
constexpr int SortedList = 9;
constexpr int List = 10;
constexpr int Combo = 11;
constexpr int SortedCombo = 12;
constexpr int SimpleCombo = 13;
constexpr int DropDownList = 14;
constexpr int EditText = 15;
constexpr int MleText = 16;
constexpr int LText = 17;
constexpr int RText = 18;
constexpr int CText = 19;
constexpr int HScroll = 20;
constexpr int VScroll = 21;
constexpr int Icon = 22;
constexpr int Bitmap = 23;
constexpr int Menu = 24;
constexpr int Popup = 25;
constexpr int MenuItem = 26;
constexpr int MenuSpacer = 27;
constexpr int Pixmap = 28;
constexpr int ToolBar = 29;
constexpr int StatusBar = 30;
constexpr int PictureButton = 31;
constexpr int ToggleButton = 32;
constexpr int TogglePicture = 33;
constexpr int HTrackBar = 34;
constexpr int VTrackBar = 35;
constexpr int TabControl = 36;
constexpr int TabItem = 37;
constexpr int ProgressBar = 38;
constexpr int ListView = 39;
constexpr int TreeView = 40;
constexpr int RichEdit = 41;
constexpr int MonthCalendar = 42;
constexpr int UpDown = 43;
constexpr int ReBar = 44;
constexpr int ToolTip = 45;
constexpr int FlatToolBar = 46;
constexpr int SepButton = 47;
constexpr int ComboBoxEx = 48;
// Framework-internal classes.
constexpr int Screen_ = 49;
constexpr int Printer_ = 50;
constexpr int ImageList = 51;
constexpr int ReBarBand = 52;
constexpr int NumClasses = 52;

// Class families (classType), stored per control in ctrl_Family.
constexpr int kNoFamily = -1;  // not a native class (TabItem and the internal classes)
constexpr int WINDOW = 0;
constexpr int BUTTON = 1;
constexpr int COMBO = 2;
constexpr int EDIT = 3;
constexpr int LISTBOX = 4;
constexpr int SCROLLBAR = 5;
constexpr int STATIC = 6;
constexpr int MENU = 7;
constexpr int POPUP = 8;
constexpr int MENUITEM = 9;
constexpr int PIXMAP = 10;
constexpr int COMMON_CONTROL = 11;

// Attribute bits (classAttr).
constexpr int w32Clickable = 1;          // mouse buttons may produce click events
constexpr int w32NoConv = 2;             // creation positions are used unconverted
constexpr int w32PictCtrl = 4;           // shows an image instead of text
constexpr int w32CtrlTab = 8;            // the control keeps the Tab key
constexpr int w32AutoSelect = 16;        // its text is selected when it gains the focus
constexpr int w32AutoCancel = 32;        // the cancel-button class
constexpr int w32NoRenderDisabled = 64;  // disabling keeps its background colour
constexpr int w32UseSubProc = 128;       // with the native background, its own procedure answers colour requests
constexpr int w32OwnerId = 256;          // the owner id is the native child id
constexpr int w32Virtual = 512;          // the owner's parent is the native parent
constexpr int w32Toolbar = 1024;         // becomes its owner's tool bar
constexpr int w32Statusbar = 2048;       // becomes its owner's status bar

template <typename T>
using ClassColumn = std::array<T, NumClasses + 1>;

extern ClassColumn<std::string> className;  // "" when the class has no native window class
extern ClassColumn<int> classType;
extern ClassColumn<std::uint32_t> classStyle;
extern ClassColumn<std::uint32_t> classStyleEx;
extern ClassColumn<int> classAttr;
extern ClassColumn<int> classDefPointer;
extern ClassColumn<Colour> classBGColor;
extern ClassColumn<Colour> classFGColor;

// The class style bits used when a top-level window's class is registered, one flag each.
extern std::vector<std::uint32_t> vWindowClassStyle;

// Fills every row; runs once when the framework starts.
void buildClassTable();

// changeClassDefaults keys.
constexpr int CCflags = 1;     // classStyle
constexpr int CCexflags = 2;   // classStyleEx
constexpr int CCwinstyle = 3;  // vWindowClassStyle

// A style value given as one number or as a list of flags.
using StyleFlags = std::variant<std::uint32_t, std::vector<std::uint32_t>>;
struct ClassSetting {
  int key;
  StyleFlags value;
};

// Returns the class's current defaults, as lists of flags under all three keys, then applies
// the settings: for CCflags and CCexflags a number replaces the style and a list is OR-ed
// into one; for CCwinstyle a number is split into its bits and a list is kept as it is.
// Unknown keys are skipped. A class outside the table returns {} and changes nothing. The
// result, given back, restores the defaults.
std::vector<ClassSetting> changeClassDefaults(int cls, const std::vector<ClassSetting>& settings);
