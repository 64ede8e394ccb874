#pragma once
// The guard's options, from its command line and from the arguments the service is started
// with: where the data file and the log are, and, for tests only, shorter waits. Without
// options the guard uses the program's fixed paths and its real timings.
#include <string>
#include <vector>

#include "accounting/program/startup.h"
#include "guard/decisions.h"
#include "guard/requests.h"

struct GuardOptions {
  std::string dataFile = FixedPaths{}.dataFile;
  std::string log = FixedPaths{}.log;
  int intervalSeconds = 5;  // between two looks at the sessions
  GuardSettings settings;
  RequestSettings requests;
  bool help = false;
  std::string error;  // what was wrong with the options; nothing else is set then
};

// Reads the options over those given: --file PATH, --log PATH, --grace SECONDS,
// --interval SECONDS, --no-minutes-wait SECONDS, --minute-length SECONDS,
// --believe-named-accounts, --help.
void readGuardOptions(GuardOptions& options, const std::vector<std::string>& arguments);

constexpr const char* kGuardUsage =
    "usage: orrindale-guard [--file PATH] [--log PATH] [--grace SECONDS] [--interval SECONDS]\n"
    "                       [--no-minutes-wait SECONDS] [--minute-length SECONDS] [--believe-named-accounts]\n"
    "       orrindale-guard --console [options]\n"
    "       orrindale-guard --install | --stop | --remove\n"
    "Runs as the Windows service OrrindaleGuard. The installer registers and starts it with\n"
    "--install, stops it with --stop and removes it with --remove (administrators only).\n"
    "--console runs the same work in this console until Ctrl+C, while the service is stopped.\n"
    "--grace, --interval, --no-minutes-wait and --minute-length shorten the waits, and\n"
    "--believe-named-accounts takes the account a request names instead of the caller's: for tests\n"
    "only, where every program runs as one account.\n";
