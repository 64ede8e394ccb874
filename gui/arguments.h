#pragma once
// The argument forms of control creation and the property operations that take "a number, a
// text or a list": captions with hints, positions, window styles, status-bar panel layouts,
// texts to show, part selectors, icons and context menus. Each form has one type, used
// everywhere.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "support/w32format.h"

// A caption, or a caption with the tool-tip text shown for the control.
struct Caption {
  std::string text;
  std::string hint;
  Caption(const char* caption) : text(caption) {}
  Caption(std::string caption) : text(std::move(caption)) {}
  Caption(std::string caption, std::string hintText) : text(std::move(caption)), hint(std::move(hintText)) {}
};

// ---- Positions and sizes ----------------------------------------------------------------

// Markers inside a position list: measure from the owner's far edge, or add the owner's size.
struct EdgeMarker {
  int which;
  bool operator==(const EdgeMarker&) const = default;
};
inline constexpr EdgeMarker w32Edge{-1};
inline constexpr EdgeMarker w32AltEdge{-2};

// Let the platform choose (CW_USEDEFAULT), and centre in the owner's client area.
struct DefaultMarker {};
struct CenterMarker {};
inline constexpr DefaultMarker Default{};
inline constexpr CenterMarker Center{};

// One element of a position list: a number (a share of the owner's size when strictly
// between 0 and 1, else pixels) or an edge marker.
struct PosTerm {
  double number = 0;
  std::optional<EdgeMarker> edge;
  template <typename T>
  requires std::is_arithmetic_v<T> PosTerm(T value) : number(static_cast<double>(value)) {}
  PosTerm(EdgeMarker marker) : edge(marker) {}
};

// Limits applied to a converted position.
struct PosClamp {
  int min;
  int max;
};

// A status-bar panel of n pixels after the previous panel ({n} in a panel layout).
struct PanelWidth {
  double pixels;
};

// One right edge of a panel layout: a number (absolute pixels when 1 or more, a share of the
// owner's width after the previous edge when strictly between 0 and 1, counted back from the
// owner's width below -1, the right end otherwise) or a panel width.
struct PanelEdge {
  double number = 0;
  bool relative = false;
  template <typename T>
  requires std::is_arithmetic_v<T> PanelEdge(T value) : number(static_cast<double>(value)) {}
  PanelEdge(PanelWidth width) : number(width.pixels), relative(true) {}
};
using PanelLayout = std::vector<PanelEdge>;

// x, y, width or height as given to createEx: a number, Default, Center, a list of terms
// ({share, offset}, {offset, share}, {w32Edge, share}, ...) with an optional clamp, or, as the
// y of a status bar, its panel layout.
struct Position {
  enum Kind { Number, UseDefault, Centre, Terms, Layout };
  Kind kind = Number;
  double number = 0;
  std::vector<PosTerm> terms;
  std::optional<PosClamp> clamp;
  PanelLayout layout;

  template <typename T>
  requires std::is_arithmetic_v<T> Position(T value) : number(static_cast<double>(value)) {}
  Position(DefaultMarker) : kind(UseDefault) {}
  Position(CenterMarker) : kind(Centre) {}
  Position(EdgeMarker marker) : kind(Terms), terms{marker} {}
  Position(std::initializer_list<PosTerm> list) : kind(Terms), terms(list) {}
  Position(PosTerm first, PosTerm second, PosClamp limits) : kind(Terms), terms{first, second}, clamp(limits) {}
  Position(PanelLayout panels) : kind(Layout), layout(std::move(panels)) {}

  // A plain whole number of pixels.
  bool isInteger() const { return kind == Number && number == static_cast<double>(static_cast<long long>(number)); }
};

// ---- Window styles ----------------------------------------------------------------------

// In the style argument of createEx: close the control's window when the control is clicked.
struct AutoCloseMarker {};
inline constexpr AutoCloseMarker w32AUTOCLOSE{};

struct StyleFlag {
  std::uint32_t bits = 0;
  bool autoClose = false;
  template <typename T>
  requires std::is_integral_v<T> StyleFlag(T value) : bits(static_cast<std::uint32_t>(value)) {}
  StyleFlag(AutoCloseMarker) : autoClose(true) {}
};

// A style argument: a number is OR-ed onto the class default (0 keeps the default); a list
// replaces the default by the OR of its elements ({} is no style bits at all). There is
// deliberately no default constructor, so that {} is the empty list and not the number 0.
// w32AUTOCLOSE counts only in the style argument of createEx.
struct StyleArg {
  bool replaces = false;
  std::uint32_t bits = 0;
  bool autoClose = false;

  template <typename T>
  requires std::is_integral_v<T> StyleArg(T number) : bits(static_cast<std::uint32_t>(number)) {}
  StyleArg(AutoCloseMarker) : autoClose(true) {}
  StyleArg(std::initializer_list<StyleFlag> list) : replaces(true) {
    for (const StyleFlag& flag : list) {
      bits |= flag.bits;
      autoClose = autoClose || flag.autoClose;
    }
  }
  StyleArg(const std::vector<std::uint32_t>& list) : replaces(true) {
    for (std::uint32_t flag : list)
      bits |= flag;
  }

  std::uint32_t apply(std::uint32_t classDefault) const { return replaces ? bits : classDefault | bits; }
};

// ---- Texts, parts and icons ---------------------------------------------------------------

// A text to show: a text as it is, a number written as by "%g", or a format with its arguments.
struct TextArg {
  std::string text;
  TextArg(const char* value) : text(value) {}
  TextArg(std::string value) : text(std::move(value)) {}
  template <typename T>
  requires std::is_arithmetic_v<T> TextArg(T number) : text(w32Format("%g", {static_cast<double>(number)})) {}
  TextArg(const std::string& format, const W32FormatArgs& args) : text(w32Format(format, args)) {}
  TextArg(const char* format, const W32FormatArgs& args) : text(w32Format(format, args)) {}
};

// A control, or one part of it: the status-bar panel (from 1) or an item of a list.
struct Part {
  int id;
  int item = 0;  // 0: not given
  Part(int control) : id(control) {}
  Part(int control, int part) : id(control), item(part) {}
};

// One control, or a list of controls or parts. {a, b} is two controls; one part is {{a, n}}.
struct PartList {
  std::vector<Part> parts;
  PartList(int control) : parts{Part(control)} {}
  PartList(std::initializer_list<Part> list) : parts(list) {}
};

// An icon handle given as such ({handle} in a list).
struct IconHandle {
  int handle;
};

// What setIcon shows: an icon handle, an icon file (its first icon, or icon n from 1), or a
// number (a window's icon handle, a system icon id, or a handle).
struct IconArg {
  enum Kind { Handle, File, Number };
  Kind kind = Number;
  int number = 0;
  std::string file;
  int index = 1;

  IconArg(int value) : number(value) {}
  IconArg(IconHandle handle) : kind(Handle), number(handle.handle) {}
  IconArg(const char* fileName) : kind(File), file(fileName) {}
  IconArg(std::string fileName) : kind(File), file(std::move(fileName)) {}
  IconArg(std::string fileName, int n) : kind(File), file(std::move(fileName)), index(n) {}
};

// A context menu of a control: a menu id (0 clears the place, -1 keeps what is there), or
// {menu id, x offset, y offset} to show it away from the mouse.
struct PopupEntry {
  int menu;
  std::optional<std::array<int, 2>> offset;
  PopupEntry(int menuId) : menu(menuId) {}
  PopupEntry(int menuId, int dx, int dy) : menu(menuId), offset(std::array<int, 2>{dx, dy}) {}
};

// The four context-menu places of a control, in the order plain, with Shift, with Control,
// with Shift and Control; one entry, or a list of which only the first four count.
struct PopupList {
  std::vector<PopupEntry> entries;
  PopupList(int menuId) : entries{PopupEntry(menuId)} {}
  PopupList(std::initializer_list<PopupEntry> list) : entries(list) {}
};
