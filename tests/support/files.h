#pragma once
// Whole-file helpers for tests: bytes in and out without any text-mode translation,
// temporary paths, and the path of an executable built beside the running test.
#include <string>
#include <vector>

namespace test_files {

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
void remove(const std::string& path);

// A path in the temporary folder, named after the running test, the same in every run
// (so that a death test's re-executed child finds the parent's files).
std::string tempPath(const std::string& suffix);

// The lines of a text file, without line ends.
std::vector<std::string> lines(const std::string& path);

// The full path of another executable in the folder of the running one.
std::string besideTest(const std::string& name);

}  // namespace test_files
