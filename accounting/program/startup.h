#pragma once
// Start-up: the table from defaults and the data file, who is logged on and on which
// computer, admission of an account that is not in the table, the start-up minute, and
// the timers that drive the program from then on.
#include <string>

#include "runtime/guard_pipe.h"

// Where SetPaths finds the data file and the log, and whether they are the guard's to keep
// (a protected install). Fixed for the program; tests point them at temporary files and say
// whether the install is protected.
struct FixedPaths {
  std::string dataFile = "c:\\Program Files\\Halvard\\HalvardDemo.dat";
  std::string log = "c:\\Program Files\\Halvard\\debugDemo.log";
  bool (*protectedInstall)() = rt::protectedInstall;
};
extern FixedPaths vFixedPaths;

// The middle pane of the status bar.
constexpr const char* kStatusCredit = "Orrindale - daily computer time";

// The open handler of HostWindow; runs once, before the event loop.
void Startup();
// The data-file and log paths, and the debug level from the first argument.
void SetPaths();
// Sets the current user to the last slot holding the account; returns the account name.
std::string IdentifyUser();
// Sets the machine name; returns its number in the known-machine table, -1 when unknown.
int IdentifyMachine();
// Gives the unknown account the first free slot with the default allowances; returns the
// slot, or 0 when the account is refused or no slot is free.
int AddNewUser();
