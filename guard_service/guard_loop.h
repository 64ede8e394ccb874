#pragma once
// The guard's work, apart from the service manager: every few seconds a round of the guard over
// this computer's sessions, and in a protected install the table it keeps and the pipe it serves,
// until the stop event is set. The service runs it, and so does `orrindale-guard --console`.
#include <windows.h>

#include "guard/guard_options.h"

// Runs the guard with the options until the event is set. Writes its start line first.
void runGuard(const GuardOptions& options, HANDLE stopEvent);
