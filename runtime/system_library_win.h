#pragma once
// The system's libraries that the core binds late, so that the program imports nothing at load
// time beyond kernel32 and the C runtime: each loaded from the system folder by its full path
// (never one of that name in the program's or the current folder), and its routines by name.
#include <windows.h>

#include <string>

namespace rt {

// The library, loaded once per call site's caller; nullptr when the system has none.
inline HMODULE systemLibrary(const char* file) {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return nullptr;
  return LoadLibraryExA((std::string(folder, length) + "\\" + file).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The routine of that name with the given type, or nullptr.
template <typename Routine>
Routine routine(HMODULE library, const char* name) {
  // Through void*: the routine's real type is not the generic one GetProcAddress returns.
  return library ? reinterpret_cast<Routine>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace rt
