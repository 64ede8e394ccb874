#pragma once
// The logged-on sessions of this computer as the terminal services show them, each with
// its account and the running copies of the program, found in a snapshot of all processes.
#include <string>
#include <vector>

#include "guard/decisions.h"

// The orrindale.exe whose copies are counted and started: the one beside the guard.
void setProgramPath(const std::string& path);
const std::string& programPath();

// False when the processes could not be listed: without them every copy would look ended.
bool windowsSessions(std::vector<SessionSeen>& sessions);

