#include "runtime/processes.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace rt {
namespace {
std::vector<std::string> vArguments;
}

std::string getEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

void setArguments(int argc, char** argv) {
  vArguments.assign(argv, argv + argc);
}

std::string argument(int index) {
  return index >= 0 && index < static_cast<int>(vArguments.size()) ? vArguments[index] : "";
}

void writeStdout(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void exitProcess(int status) {
  std::fflush(nullptr);
  std::exit(status);
}

}  // namespace rt
