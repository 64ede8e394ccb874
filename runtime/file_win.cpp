#include <io.h>
#include <windows.h>

#include "runtime/file.h"

namespace rt {
namespace {
HANDLE nativeHandle(std::FILE* file) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}
}  // namespace

bool TextFile::tryLockExclusive() {
  OVERLAPPED at{};
  locked_ = LockFileEx(nativeHandle(file_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                       &at) != 0;
  return locked_;
}

void TextFile::unlock() {
  std::fflush(file_);
  OVERLAPPED at{};
  UnlockFileEx(nativeHandle(file_), 0, MAXDWORD, MAXDWORD, &at);
  locked_ = false;
}

}  // namespace rt
