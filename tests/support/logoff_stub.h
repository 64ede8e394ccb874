#pragma once
// A stand-in for the system's "logoff" command: a script of that name first on the
// search path that records each run, so tests see log-offs without ending a logon.
namespace logoff_stub {

// Puts the stub first on PATH (once per process) and forgets earlier runs.
void install();
// How often the command ran since install.
int runs();

}  // namespace logoff_stub
