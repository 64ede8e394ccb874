#include <sys/file.h>

#include "runtime/file.h"

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

}  // namespace rt
