#pragma once
// A Windows handle owned by a scope: closed when the owner goes, whichever way the scope ends.
// Either of the platform's two "no handle" values may stand in it.
#include <windows.h>

struct OwnedHandle {
  HANDLE handle = nullptr;
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE owned) : handle(owned) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() {
    if (handle && handle != INVALID_HANDLE_VALUE)
      CloseHandle(handle);
  }
};
