#pragma once
// Showing windows: opening one (its Open and Activate events, the modal stack, its first
// focus), changing any control's visibility with a show style given as a number or a word,
// the full-screen style, and running a window as a dialog in a nested event loop.
#include <string>
#include <utility>

#include "gui/modal.h"
#include "gui/registry.h"

// A window's closed state (ctrl_Closed) once it has been opened; before, it is kNeverOpened.
constexpr int kWindowOpen = 0;
constexpr int kWindowClosed = 1;   // hidden by its close, or destroyed
constexpr int kWindowClosing = 2;  // its close request is being processed

// A live control of the window family: what can be opened and closed.
bool isWindowControl(int id);

// The framework's normal show style: shows the window (or restores it when minimised).
constexpr int kNormalStyle = 0;

// Shows a window as a plain pop-up over the whole screen; distinct from every number.
struct FullScreenMarker {};
inline constexpr FullScreenMarker w32FullScreen{};

// A show style: a platform show command (above 0), one of the framework's styles (0 normal,
// -1 modal, -2 dialog), the full-screen style, or a word from the show-word table, in any case.
struct ShowStyle {
  enum Kind { Number, Word, FullScreen };
  Kind kind = Number;
  int number = 0;
  std::string word;

  ShowStyle(int code) : number(code) {}
  ShowStyle(FullScreenMarker) : kind(FullScreen) {}
  ShowStyle(const char* name) : kind(Word), word(name) {}
  ShowStyle(std::string name) : kind(Word), word(std::move(name)) {}
};

// The show words and the codes they stand for, position by position.
extern const char* const vSHOWWORDS[];
extern const ShowStyle vSHOWCODES[];

// A word of the show-word table becomes its code; anything else comes back unchanged.
ShowStyle translateShowStyle(const ShowStyle& style);

// A window to open: its id, or {id, the control to focus first}, or its name. A focus of 0
// picks the first edit field (else button, else combo) of the window's focus order; -1 leaves
// the focus on the window.
struct WindowRef {
  int window = 0;
  int focus = -1;
  std::string name;
  bool byName = false;

  WindowRef(int id) : window(id) {}
  WindowRef(int id, int focusId) : window(id), focus(focusId) {}
  WindowRef(const char* windowName) : name(windowName), byName(true) {}
  WindowRef(std::string windowName) : name(std::move(windowName)), byName(true) {}
};

// Raises Open, shows the window, enters it in the modal stack when opened modal or as a
// dialog, focuses it, and raises Activate. Only windows open; nothing happens once the
// framework has released everything.
void openWindow(const WindowRef& target, const ShowStyle& style);

// Shows, hides or otherwise changes the visibility of any control, without the opening
// steps. The full-screen style keeps the window's style and place to come back to with the
// next numeric style.
void showWindow(const ControlRef& target, const ShowStyle& style);

