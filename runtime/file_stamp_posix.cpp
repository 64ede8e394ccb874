// What file_stamp.h declares, on POSIX: a file's presence, size and modification time from stat.
#include <sys/stat.h>

#include "runtime/file_stamp.h"

namespace rt {

FileStamp fileStamp(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return {};
  return {true, static_cast<long long>(status.st_size),
          static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec};
}

}  // namespace rt
