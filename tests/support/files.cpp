#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace test_files {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool exists(const std::string& path) {
  return std::filesystem::exists(path);
}

void remove(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

std::string tempPath(const std::string& suffix) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "orrindale-";
  if (info)
    name += std::string(info->test_suite_name()) + "-" + info->name() + "-";
  for (char& c : name)
    if (c == '/')
      c = '_';
  return (std::filesystem::temp_directory_path() / (name + suffix)).string();
}

std::vector<std::string> lines(const std::string& path) {
  std::istringstream in(readBytes(path));
  std::vector<std::string> result;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    result.push_back(line);
  }
  return result;
}

std::string besideTest(const std::string& name) {
#ifdef _WIN32
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return (std::filesystem::path(self).parent_path() / (name + ".exe")).string();
#else
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
#endif
}

}  // namespace test_files
