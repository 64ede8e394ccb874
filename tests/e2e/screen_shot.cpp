#include "tests/e2e/screen_shot.h"

#include <cstdlib>

#include "tests/e2e/screen_pixels.h"

bool saveScreen(const std::string& path) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return saveBitmap(path, readScreen(screen));
}

std::string shotPath(const std::string& name) {
  const char* folder = std::getenv("ORRINDALE_SHOTS");
  return std::string(folder ? folder : ".") + "\\" + name + ".bmp";
}

// Lets the windows paint before the picture is taken: a round trip through the program's
// message queue, then the desktop's.
void settle(HWND window) {
  SendMessageA(window, WM_NULL, 0, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
}
