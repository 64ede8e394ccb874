#pragma once
// The guard's options, from its command line and from the arguments the service is started
// with: where the data file and the log are, and, for tests only, shorter waits. Without
// options the guard uses the program's fixed paths and its real timings.
#include <string>
#include <vector>

#include "accounting/startup.h"
#include "guard/decisions.h"

struct GuardOptions {
  std::string dataFile = FixedPaths{}.dataFile;
  std::string log = FixedPaths{}.log;
  int intervalSeconds = 5;  // between two looks at the sessions
  GuardSettings settings;
  bool help = false;
  std::string error;  // what was wrong with the options; nothing else is set then
};

// Reads the options over those given: --file PATH, --log PATH, --grace SECONDS,
// --interval SECONDS, --help.
void readGuardOptions(GuardOptions& options, const std::vector<std::string>& arguments);

// How the options were changed from the real ones, for the log line of a start: "" when
// nothing was, so that a guard started with test timings says so in the log.
std::string changedTimings(const GuardOptions& options);

constexpr const char* kGuardUsage =
    "usage: orrindale-guard [--file PATH] [--log PATH] [--grace SECONDS] [--interval SECONDS]\n"
    "Runs as the Windows service OrrindaleGuard; the installer registers and starts it.\n"
    "--grace and --interval shorten the waits, for tests only.\n";
