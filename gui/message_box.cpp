#include "gui/message_box.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

using MessageBoxRoutine = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
using ActiveWindowRoutine = HWND(WINAPI*)();

struct Bindings {
  MessageBoxRoutine messageBox;
  ActiveWindowRoutine activeWindow;
};

// Without these two the program could not tell the user anything, its error reports
// included, so a missing one ends it at once.
FARPROC bindOrExit(HMODULE library, const char* name) {
  const FARPROC routine = GetProcAddress(library, name);
  if (!routine) {
    std::fprintf(stderr, "couldn't find %s\n", name);
    std::fflush(stderr);
    std::exit(1);
  }
  return routine;
}

template <typename Routine>
Routine as(FARPROC routine) {
  // Through the generic routine type: the platform hands out every routine as FARPROC.
  return reinterpret_cast<Routine>(reinterpret_cast<void (*)()>(routine));
}

const Bindings& bindings() {
  static const Bindings bound = [] {
    const HMODULE user32 = LoadLibraryA("user32.dll");
    const FARPROC messageBox = bindOrExit(user32, "MessageBoxA");
    const FARPROC activeWindow = bindOrExit(user32, "GetActiveWindow");
    return Bindings{as<MessageBoxRoutine>(messageBox), as<ActiveWindowRoutine>(activeWindow)};
  }();
  return bound;
}

// Bound when the program starts, before anything could need to be reported.
[[maybe_unused]] const Bindings& vStartupBindings = bindings();

}  // namespace

int message_box(const std::string& text, const std::string& title, unsigned style) {
  const Bindings& bound = bindings();
  return bound.messageBox(bound.activeWindow(), text.c_str(), title.c_str(), style);
}

int message_box(const std::string& text, const std::string& title, const std::vector<unsigned>& styles) {
  unsigned style = 0;
  for (unsigned flag : styles)
    style |= flag;
  return message_box(text, title, style);
}
