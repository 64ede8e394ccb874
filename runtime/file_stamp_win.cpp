// What file_stamp.h declares, on Windows: a file's presence, size and last-write time from its
// attributes.
#include <windows.h>

#include "runtime/file_stamp.h"

namespace rt {

FileStamp fileStamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return {};
  // Last-write times count 100 ns steps, so two saves within one second still differ.
  return {true, static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
          static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime};
}

}  // namespace rt
