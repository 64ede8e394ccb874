#pragma once
// Where a fatal error leaves its crash report, and what the report says, for the tests of the
// framework's reports and of the C++ library's failures.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

inline std::string crashReportPath() {
  char folder[MAX_PATH + 1] = {};
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + "orrindale.err";
}

inline std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
