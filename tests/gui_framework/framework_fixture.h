#pragma once
// Starts the framework once for the test program, and makes real windows and controls the
// way control creation does: a registry slot, a native window made through the routine table,
// the id stored in the window, and standard controls subclassed with the framework procedure.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "gui/message_dispatch.h"

int makeWindow(int owner, int x, int y, int width, int height, std::uint32_t style = WS_OVERLAPPEDWINDOW);
int makeControl(int cls, int owner, int x, int y, int width, int height, const std::string& text = "");
// A tab item on a tab control made with makeControl.
int makeTabItem(int tabControl);
// A window of the framework's test class that carries no control id.
int makeWindowWithoutId();

std::string windowText(int hWnd);
bool isWindow(int hWnd);
bool startsWith(const std::string& text, const std::string& prefix);

// The title of the framework's warnings.
constexpr const char* kWarningTitle = "Larkspur AppWindow - Error Warning";

// Puts a message handler into the message table for the life of the object.
class ScopedMessageHandler {
 public:
  ScopedMessageHandler(int message, MessageHandler handler);
  ~ScopedMessageHandler();
  ScopedMessageHandler(const ScopedMessageHandler&) = delete;
  ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

 private:
  int message_;
};
