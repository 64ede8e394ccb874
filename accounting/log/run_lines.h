#pragma once
// The lines that open and close a run in the activity log: "Process Started" at the end of
// start-up, and "Process Ended" once per run when the program ends in an orderly way, never
// before the start line. A start with no end since the account's previous start then shows
// that the previous copy was killed or crashed.

// Logs "Process Started - User " + the user name.
void logProcessStarted();

// Logs "Process Ended - User " + the user name, once per run; asked for during start-up (a
// log-off there), the line follows the start line.
void logProcessEnded();
