#include "tests/support/logoff_stub.h"

#include <filesystem>
#include <string>

#include "runtime/processes.h"
#include "tests/support/files.h"

namespace logoff_stub {
namespace {
std::filesystem::path folder() {
  return std::filesystem::temp_directory_path() / "orrindale-logoff-stub";
}
std::string record() {
  return (folder() / "runs.txt").string();
}
}  // namespace

void install() {
  static bool onPath = false;
  std::filesystem::create_directories(folder());
#ifdef _WIN32
  test_files::writeBytes((folder() / "logoff.cmd").string(), "@echo ran>>\"%~dp0runs.txt\"\r\n");
  constexpr char kSeparator = ';';
#else
  const std::string script = (folder() / "logoff").string();
  test_files::writeBytes(script, "#!/bin/sh\necho ran >> \"$(dirname \"$0\")/runs.txt\"\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  constexpr char kSeparator = ':';
#endif
  if (!onPath) {
    rt::setEnv("PATH", folder().string() + kSeparator + rt::getEnv("PATH"));
    onPath = true;
  }
  test_files::remove(record());
}

int runs() {
  return static_cast<int>(test_files::lines(record()).size());
}

}  // namespace logoff_stub
