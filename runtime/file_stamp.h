#pragma once
// Whether a file changed since it was last looked at, without opening it: its presence,
// length and last-write time as the file system keeps them.
#include <string>

namespace rt {

struct FileStamp {
  bool exists = false;
  long long size = 0;
  long long modified = 0;  // in the platform's own units, finer than a second
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file; a file that cannot be looked at reads as absent.
FileStamp fileStamp(const std::string& path);

}  // namespace rt
