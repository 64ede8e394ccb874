// What file.h and file_native.h declare, on Windows: the whole-file lock with LockFileEx, and
// the native calls at an offset on the file's handle, with CR LF line ends.
#include <io.h>
#include <windows.h>

#include "runtime/file.h"
#include "runtime/file_native.h"

namespace rt {
namespace {
HANDLE nativeHandle(std::FILE* file) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

// A position for ReadFile and WriteFile, which then leave the handle's own file pointer alone.
OVERLAPPED at(long long offset) {
  OVERLAPPED position{};
  position.Offset = static_cast<DWORD>(offset);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}
}  // namespace

bool TextFile::tryLockExclusive() {
  OVERLAPPED whole{};
  locked_ = LockFileEx(nativeHandle(file_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                       &whole) != 0;
  return locked_;
}

void TextFile::unlock() {
  std::fflush(file_);
  OVERLAPPED whole{};
  UnlockFileEx(nativeHandle(file_), 0, MAXDWORD, MAXDWORD, &whole);
  locked_ = false;
}

namespace native {

long long fileSize(std::FILE* file) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(nativeHandle(file), &size) ? size.QuadPart : -1;
}

bool readAt(std::FILE* file, long long offset, char* data, std::size_t size) {
  OVERLAPPED position = at(offset);
  DWORD read = 0;
  return ReadFile(nativeHandle(file), data, static_cast<DWORD>(size), &read, &position) && read == size;
}

bool writeAt(std::FILE* file, long long offset, const char* data, std::size_t size) {
  OVERLAPPED position = at(offset);
  DWORD written = 0;
  return WriteFile(nativeHandle(file), data, static_cast<DWORD>(size), &written, &position) && written == size;
}

bool setEnd(std::FILE* file, long long size) {
  LARGE_INTEGER end{};
  end.QuadPart = size;
  return SetFilePointerEx(nativeHandle(file), end, nullptr, FILE_BEGIN) && SetEndOfFile(nativeHandle(file));
}

bool flushToDisk(std::FILE* file) {
  return FlushFileBuffers(nativeHandle(file)) != 0;
}

// The file is a text file: its lines end with CR LF, as the C runtime's text mode writes them.
std::string storedText(const std::string& text) {
  std::string stored;
  stored.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n')
      stored += '\r';
    stored += c;
  }
  return stored;
}

}  // namespace native
}  // namespace rt
