#pragma once
// Runs the real orrindale.exe as a child process with an environment and arguments of the
// test's choosing, and looks at it from outside as the shell and a user would: its windows by
// class name, messages sent to them, and conditions awaited with a deadline.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class OrrindaleProcess {
 public:
  // Starts orrindale.exe (from the test's own folder unless a program path is given) with
  // USERNAME and COMPUTERNAME set as given and the argument as its first, in the current
  // folder given (the test's own when none is).
  OrrindaleProcess(const std::string& user,
                   const std::string& computer,
                   const std::string& argument,
                   const std::string& program = "",
                   const std::string& currentFolder = "");
  // Ends the program if it still runs.
  ~OrrindaleProcess();
  OrrindaleProcess(const OrrindaleProcess&) = delete;
  OrrindaleProcess& operator=(const OrrindaleProcess&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }
  bool running() const;
  // Suspends the program's one thread, as another program of the account may.
  void suspend();
  // The exit status, or -1 when the program has not ended within the time.
  int waitForExit(int milliseconds);

  // The program's top-level window of class "Larkspur AppWindow <number>" (1 is HostWindow,
  // 2 PasswordWindow, 3 MainWindow), nullptr when there is none.
  HWND window(int number) const;

 private:
  PROCESS_INFORMATION process_{};
};

// Polls the condition until it holds or the time is up; returns whether it held.
bool waitUntil(const std::function<bool()>& condition, int milliseconds = 10000);

// Whether a top-level window (with its process and platform class) is the one sought.
using TopWindowTest = std::function<bool(HWND window, DWORD process, const std::string& className)>;
// The first top-level window that matches, or nullptr.
HWND findTopWindow(const TopWindowTest& matches);

// The child controls of a window (at any depth) of the platform class, in the order the
// platform lists them; with a caption, only those showing it.
std::vector<HWND> controlsOf(HWND window, const std::string& platformClass, const std::string& caption = "");
// What a control of another process shows.
std::string textOf(HWND control);
// Replaces the text of an edit control as a user would: cleared, then typed key by key.
void typeInto(HWND edit, const std::string& text);
// Presses the key in the control: a character code, 13 for Enter.
void pressKey(HWND control, int key);

// The visible controls of a window of the platform class, sorted top to bottom, then left to
// right, as a user reads them.
std::vector<HWND> visibleControlsInReadingOrder(HWND window, const std::string& platformClass);
// Whether the control has the keyboard focus of its thread.
bool hasFocus(HWND control);
// Clicks into the control, as a user does before typing; true once it has the focus.
bool clickInto(HWND control);
// Clicks a button as the mouse would.
void click(HWND button);
// The open message box of the process with that title, once it shows; nullptr after the time.
HWND waitForBox(DWORD process, const std::string& title, int milliseconds = 10000);

// Chooses a menu item with the keyboard, as Alt+menu key then item key would: menus belong to
// the process that made them, so another process cannot look up their command ids.
void chooseMenu(HWND window, char menuKey, char itemKey);
// Chooses an item of the context menu that a tray icon's right click opened in the process of the
// window, with its key, once the menu shows.
void chooseContextMenu(HWND window, char itemKey);
