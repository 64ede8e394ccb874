// What processes.h declares that differs on Windows: setting a variable for the C runtime and
// for child processes alike, the kill, the system's programs by full path, and running a
// command through the system's cmd.exe without a window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/processes.h"

namespace rt {

void setEnv(const std::string& name, const std::string& value) {
  // The C runtime keeps its own copy of the environment; child processes inherit the
  // process environment. Both must change.
  _putenv_s(name.c_str(), value.c_str());
  SetEnvironmentVariableA(name.c_str(), value.c_str());
}

void killProcess() {
  TerminateProcess(GetCurrentProcess(), 9);
  std::abort();  // not reached: the process ends inside the call
}

namespace {
// A folder of the system's, "" when it cannot be read: without it no path can be trusted, and ""
// starts nothing.
std::string folderOf(UINT (*WINAPI read)(char*, UINT), const std::string& below = "") {
  char folder[MAX_PATH] = {};
  const UINT length = read(folder, sizeof folder);
  return length == 0 || length >= sizeof folder ? "" : std::string(folder, length) + below;
}
}  // namespace

std::string systemProgram(const std::string& name) {
  // On 64-bit Windows the system folder of a 32-bit program holds the 32-bit programs, which
  // need not include the log-off; the native one is reached under the name Sysnative.
  BOOL wow64 = FALSE;
  const std::string folder = IsWow64Process(GetCurrentProcess(), &wow64) && wow64
                                 ? folderOf(GetWindowsDirectoryA, "\\Sysnative")
                                 : folderOf(GetSystemDirectoryA);
  return folder.empty() ? "" : folder + "\\" + name + ".exe";
}

int runCommand(const std::string& commandLine) {
  std::fflush(nullptr);
  // Named by its full path: a search would look in the program's folder and the current
  // folder first, where an account may put a cmd.exe of its own. The 32-bit interpreter of a
  // 32-bit program, which sees the native system folder as Sysnative.
  const std::string folder = folderOf(GetSystemDirectoryA);
  const std::string interpreter = folder.empty() ? "" : folder + "\\cmd.exe";
  if (interpreter.empty())
    return -1;
  // /d: no AutoRun command from the account's registry runs before the command. cmd drops the
  // first and the last quote of what follows /c when it starts with a quote; an outer pair
  // keeps quoted program paths inside the command intact.
  std::string line = "\"" + interpreter + "\" /d /c \"" + commandLine + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // CREATE_NO_WINDOW: a GUI program must not flash a console window for the command.
  if (!CreateProcessA(interpreter.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

}  // namespace rt
