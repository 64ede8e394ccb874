// What file.h and file_native.h declare, on POSIX: the whole-file lock with flock, and the
// native calls at an offset on the file's descriptor.
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/file.h"
#include "runtime/file_native.h"

namespace rt {

// flock belongs to the open file, not the process, so two opens of one file in the same
// process exclude each other as they do on Windows.
bool TextFile::tryLockExclusive() {
  locked_ = ::flock(fileno(file_), LOCK_EX | LOCK_NB) == 0;
  return locked_;
}

void TextFile::unlock() {
  std::fflush(file_);
  ::flock(fileno(file_), LOCK_UN);
  locked_ = false;
}

namespace native {

long long fileSize(std::FILE* file) {
  struct stat status {};
  return ::fstat(fileno(file), &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

bool readAt(std::FILE* file, long long offset, char* data, std::size_t size) {
  return ::pread(fileno(file), data, size, offset) == static_cast<ssize_t>(size);
}

bool writeAt(std::FILE* file, long long offset, const char* data, std::size_t size) {
  return ::pwrite(fileno(file), data, size, offset) == static_cast<ssize_t>(size);
}

bool setEnd(std::FILE* file, long long size) {
  return ::ftruncate(fileno(file), size) == 0;
}

bool flushToDisk(std::FILE* file) {
  return ::fsync(fileno(file)) == 0;
}

std::string storedText(const std::string& text) {
  return text;
}

}  // namespace native
}  // namespace rt
