#pragma once
// The administration tool, orrindale-admin: one command per run over the data file and the
// activity log, through the same core routines as the program. runAdmin is the whole tool;
// main only hands it the arguments and the standard streams.
#include <string>
#include <vector>

#include "admin/text_streams.h"

constexpr int kExitDone = 0;
constexpr int kExitUsage = 1;  // bad usage or refused input; the file is untouched
constexpr int kExitFile = 2;   // the data file is missing, damaged, locked or not written

struct Console {
  TextReader& in;
  TextWriter& out;
  TextWriter& err;
  // Whether "in" is a terminal a person types at (asked for passwords without echo).
  bool interactive = false;
};

// Runs the command named in the arguments (without the program name); returns the exit status.
int runAdmin(const std::vector<std::string>& args, Console& console);
