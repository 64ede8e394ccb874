#pragma once
// The administration tool, orrindale-admin: one command per run over the data file and the
// activity log, through the same core routines as the program. runAdmin is the whole tool;
// main only hands it the arguments and the standard streams.
#include <iosfwd>
#include <string>
#include <vector>

constexpr int kExitDone = 0;
constexpr int kExitUsage = 1;  // bad usage or refused input; the file is untouched
constexpr int kExitFile = 2;   // the data file is missing, damaged, locked or not written

struct Console {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  // Whether "in" is a terminal a person types at (asked for passwords without echo).
  bool interactive = false;
};

// Runs the command named in the arguments (without the program name); returns the exit status.
int runAdmin(const std::vector<std::string>& args, Console& console);
