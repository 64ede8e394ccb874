#pragma once
// How a shipped program ends when the C++ library meets a failure it reports by throwing (no
// memory left, a position past the end of a string) or by aborting: the programs are built
// without exceptions and catch none, so library_failure.cpp puts routines that report and end
// in place of the library's throw routines, its operator new and its terminate handler.

namespace rt {

// Shows or records the library's text; it should not return.
using LibraryFailureReport = void (*)(const char* what);

// Sets the program's report, once at start-up. Without one, and after a report that returns,
// the text goes to the error output and the process ends with status 3, as an abort does.
void onLibraryFailure(LibraryFailureReport report);

// Reports the failure and ends the process. A failure met while it is being reported ends the
// process at once, with its text on the error output.
[[noreturn]] void libraryFailed(const char* what);

}  // namespace rt
