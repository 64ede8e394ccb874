#include "support/w32msgs.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>


int showWarnings = kWarningMode;
constinit std::vector<int> vMsgsToIgnore;

namespace {

// Constant-initialised, so that a report raised while other parts of the program are still
// starting up finds them in place.
constinit std::string vAppName;
constinit std::string vVersion;
// Most recently attached first; empty when no routine is attached.
constinit std::vector<CleanUpRoutine> xUserCleanUp;

constexpr unsigned kWarningStyle = MB_ICONEXCLAMATION | MB_YESNOCANCEL;
constexpr unsigned kFatalStyle = MB_ICONHAND | MB_OK;

constexpr char kWarningInstructions[] =
    "\n\nPress\n"
    "  [ YES ]  to continue,\n"
    "  [ NO ] to ignore repeats, or\n"
    "  [ Cancel ]  to quit.";

// The text goes to the error output and to orrindale.err in the user's temporary folder,
// where it survives the process for whoever looks into the crash.
[[noreturn]] void endWithCrashReport(const std::string& text) {
  const std::string report = text.empty() ? text : text + "\n";
  std::fputs(report.c_str(), stderr);
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length > 0 && length < sizeof folder) {
    const std::string path = std::string(folder) + "orrindale.err";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
      std::fputs(report.c_str(), file);
      std::fclose(file);
    }
  }
  std::fflush(nullptr);
  ExitProcess(1);
}

std::string upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool silenced(int code) {
  return std::find(vMsgsToIgnore.begin(), vMsgsToIgnore.end(), code) != vMsgsToIgnore.end();
}

// The framework's name and version, in every report from the start of the program on.
[[maybe_unused]] const bool vNamed = [] {
  Init_UI_Msgs({{"AppName", "Larkspur AppWindow"},
                {"AppVersion", w32Format("Larkspur v%d.%d.%d %s", {1, 0, 0, "07-Dec-2026"})}});
  return true;
}();

// Until the framework's start hands in its message box.
int reportToErrorOutput(const std::string& text, const std::string& title, unsigned) {
  std::fputs((title + "\n" + text + "\n").c_str(), stderr);
  return IDYES;
}

}  // namespace

constinit ReportPresenter r_presentReport = reportToErrorOutput;

void fShowError(const W32Error& error, int mode) {
  int code = 0;
  std::string text = error.message;
  if (!error.coded && error.message.empty() && mode == kFatalMode) {
    mode = kSilentCleanUpMode;
  } else if (error.coded) {
    code = error.code;
    const std::string message = error.args.empty() ? error.message : w32Format(error.message, error.args);
    text = w32Format("Error code %d\n%s", {code, message});
  }

  std::string title = vAppName + " - ";
  unsigned style = 0;
  if (mode == kWarningMode) {
    title += "Error Warning";
    text += kWarningInstructions;
    style = kWarningStyle;
  } else if (mode == kFatalMode) {
    title += "Fatal Error";
    style = kFatalStyle;
  } else if (mode == kSilentCleanUpMode) {
    text.clear();
    title.clear();
  }

  int answer = IDYES;
  if (mode != kSilentCleanUpMode && !silenced(code)) {
    text += "\n\n" + vVersion;
    answer = r_presentReport(text, title, style | MB_TASKMODAL);
  }

  if (mode == kFatalMode || mode == kSilentCleanUpMode || answer == IDCANCEL) {
    fCleanUp(code, text);
    if (mode == kFatalMode)
      endWithCrashReport(text);
    if (answer == IDCANCEL)
      endWithCrashReport("");
    return;
  }
  if (answer == IDNO)
    vMsgsToIgnore.push_back(code);
}

void abortErr(const W32Error& error) {
  fShowError(error, kFatalMode);
}

void abortOnLibraryFailure(const char* what) {
  abortErr(std::string("The C++ library cannot go on: ") + what);
}

void warnErr(const W32Error& error) {
  if (showWarnings != 0)
    fShowError(error, showWarnings);
}

int attachCleanUp(CleanUpRoutine routine) {
  if (!routine)
    return -1;
  xUserCleanUp.insert(xUserCleanUp.begin(), routine);
  return static_cast<int>(xUserCleanUp.size());
}

int detachCleanUp(CleanUpRoutine routine) {
  const auto found = std::find(xUserCleanUp.begin(), xUserCleanUp.end(), routine);
  if (found == xUserCleanUp.end())
    return -1;
  xUserCleanUp.erase(found);
  return static_cast<int>(xUserCleanUp.size());
}

void fCleanUp(int code, const std::string& text) {
  // The list is set aside while it runs: a routine that reports an error itself must not
  // start the clean-up again.
  std::vector<CleanUpRoutine> routines;
  routines.swap(xUserCleanUp);
  const int count = static_cast<int>(routines.size());
  for (int position = 1; position <= count; ++position) {
    if (routines[position - 1](code, text, position, position == count) == -1)
      break;
  }
  xUserCleanUp.swap(routines);
}

void Init_UI_Msgs(const std::vector<std::pair<std::string, std::string>>& pairs) {
  for (const auto& [key, value] : pairs) {
    const std::string name = upper(key);
    if (name == "APPNAME") {
      vAppName = value;
    } else if (name == "APPVERSION") {
      vVersion = value;
      if (value.find("Beta") != std::string::npos) {
        std::printf("%s\n", value.c_str());
        std::fflush(stdout);
      }
    }
  }
}
