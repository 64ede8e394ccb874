#include "bench/measured_program.h"

#include <psapi.h>

#include <cstdlib>
#include <cstring>

namespace {

// The parent's environment with USERNAME replaced: a program started from Linux would get
// the Linux account's name whatever the environment says.
std::string environmentBlock(const std::string& account) {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1)
    if (_strnicmp(entry, "USERNAME=", 9) != 0)
      block += std::string(entry) + '\0';
  FreeEnvironmentStringsA(strings);
  return block + "USERNAME=" + account + '\0' + '\0';
}

std::string readWhole(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return "";
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  CloseHandle(file);
  return text;
}

std::string folderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

bool isNumber(const char* name) {
  return *name != '\0' && std::strspn(name, "0123456789") == std::strlen(name);
}

double millisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Wine shows Linux's /proc on drive Z:. The Linux command line of a Wine process is its
// Windows one, tag included.
int linuxPidWithTag(const std::string& tag) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE)
    return 0;
  int found = 0;
  do {
    if (!isNumber(entry.cFileName))
      continue;
    std::string commandLine = readWhole(std::string("Z:\\proc\\") + entry.cFileName + "\\cmdline");
    if (commandLine.find(tag) != std::string::npos)
      found = std::atoi(entry.cFileName);
  } while (found == 0 && FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

}  // namespace

MeasuredProgram::MeasuredProgram(const std::string& program, const std::string& account, const std::string& tag)
    : tag_(tag) {
  std::string commandLine = "\"" + program + "\" 2 " + tag;
  std::string environment = environmentBlock(account);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  QueryPerformanceCounter(&started_);
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(), nullptr,
                      &startup, &process_))
    process_ = {};
}

MeasuredProgram::~MeasuredProgram() {
  if (!process_.hProcess)
    return;
  TerminateProcess(process_.hProcess, 0);
  WaitForSingleObject(process_.hProcess, 10000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::optional<double> MeasuredProgram::waitForReadyLine(const std::string& logFile, const std::string& readyText) {
  if (!process_.hProcess)
    return std::nullopt;
  // Woken by each change in the log's folder, the log is read only when something was written.
  const HANDLE change = FindFirstChangeNotificationA(
      folderOf(logFile).c_str(), FALSE,
      FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
  constexpr DWORD kFallbackPollMs = 50;
  constexpr double kGiveUpMs = 20000;
  std::optional<double> ready;
  while (!ready && millisecondsSince(started_) < kGiveUpMs &&
         WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    if (readWhole(logFile).find(readyText) != std::string::npos) {
      ready = millisecondsSince(started_);
      break;
    }
    if (change == INVALID_HANDLE_VALUE) {
      Sleep(1);
    } else {
      WaitForSingleObject(change, kFallbackPollMs);
      FindNextChangeNotification(change);
    }
  }
  if (change != INVALID_HANDLE_VALUE)
    FindCloseChangeNotification(change);
  return ready;
}

double MeasuredProgram::peakWorkingSet() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!process_.hProcess || !GetProcessMemoryInfo(process_.hProcess, &counters, sizeof counters))
    return 0;
  return static_cast<double>(counters.PeakWorkingSetSize);
}

std::optional<double> MeasuredProgram::runTimeNs() {
  if (linuxPid_ == 0)
    linuxPid_ = linuxPidWithTag(tag_);
  if (linuxPid_ == 0)
    return std::nullopt;
  const std::string tasks = "Z:\\proc\\" + std::to_string(linuxPid_) + "\\task\\";
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((tasks + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE)
    return std::nullopt;
  // The first field of a thread's schedstat is the time it has run, in nanoseconds.
  double total = 0;
  do {
    if (isNumber(entry.cFileName))
      total += std::atof(readWhole(tasks + entry.cFileName + "\\schedstat").c_str());
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return total;
}
