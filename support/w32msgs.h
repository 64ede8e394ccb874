#pragma once
// How the framework reports what goes wrong: warnings the user may continue past, silence or
// quit on, and fatal errors that run the clean-up routines and end the process with a crash
// report. Also owns the clean-up list and the name and version shown in every report.
#include <string>
#include <utility>
#include <vector>

#include "support/w32codes.h"
#include "support/w32format.h"

// A report: either a plain text (code 0), or a coded message whose directives are filled
// from args and which is shown under "Error code N". The empty plain text given to abortErr
// means: run the clean-up routines silently.
struct W32Error {
  std::string message;
  int code = 0;
  bool coded = false;
  W32FormatArgs args;

  W32Error(const char* text) : message(text) {}
  W32Error(std::string text) : message(std::move(text)) {}
  W32Error(std::string format, int errorCode, W32FormatArgs formatArgs = {})
      : message(std::move(format)), code(errorCode), coded(true), args(std::move(formatArgs)) {}
  W32Error(const W32Code& entry, W32FormatArgs formatArgs = {})
      : W32Error(entry.message, entry.code, std::move(formatArgs)) {}
};

// Shows a report and returns the button pressed (IDYES, IDNO, ... as a message box answers).
// The framework's start hands in its message box; until then a report goes to standard error
// and counts as Yes, so that a program without windows still reports and ends as it should.
using ReportPresenter = int (*)(const std::string& text, const std::string& title, unsigned style);
extern ReportPresenter r_presentReport;

// fShowError modes.
constexpr int kWarningMode = 1;
constexpr int kFatalMode = 2;
constexpr int kSilentCleanUpMode = 3;

// Shows the report as a warning (Yes goes on, No silences its code for the rest of the run,
// Cancel quits) or as a fatal error, or only runs the clean-up (mode 3). Returns only from a
// warning that was not cancelled and from mode 3.
void fShowError(const W32Error& error, int mode);

// A fatal error: does not return, except for the empty text, which runs the clean-up silently.
void abortErr(const W32Error& error);

// A failure the C++ library cannot go past (no memory left, a position past the end of a
// string), as a fatal error with the library's text: the report a program hands to
// rt::onLibraryFailure (runtime/library_failure.h).
void abortOnLibraryFailure(const char* what);

// A warning in the mode showWarnings holds; nothing when it is 0.
void warnErr(const W32Error& error);
extern int showWarnings;

// The codes the user silenced by answering No; they are neither shown again nor asked about.
extern std::vector<int> vMsgsToIgnore;

// Runs before an abnormal end with the report's code and displayed text, its position in the
// clean-up list (from 1) and whether it is the last one; returning -1 skips the rest.
using CleanUpRoutine = int (*)(int code, const std::string& text, int position, bool last);

// Puts the routine first in the clean-up list and returns the list's length; a null routine
// is not added and gives -1.
int attachCleanUp(CleanUpRoutine routine);
// Takes the routine out of the list and returns the new length (0 when it became empty), or
// -1 when the routine is not in the list.
int detachCleanUp(CleanUpRoutine routine);
// Runs the clean-up list, most recently attached first.
void fCleanUp(int code, const std::string& text);

// Sets the report title's application name ("APPNAME") and the version line ("APPVERSION");
// keys are compared in upper case, other keys are ignored.
void Init_UI_Msgs(const std::vector<std::pair<std::string, std::string>>& pairs);
