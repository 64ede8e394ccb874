// What guard_pipe.h declares, on Windows: the guard's pipe in message mode, the answer awaited
// with a time limit, and the protected install read from the machine's registry. Only kernel32
// is linked; the registry routine of advapi32 is bound when first needed.
#include <windows.h>

#include <vector>

#include "runtime/guard_pipe.h"
#include "runtime/owned_handle_win.h"

namespace rt {
namespace {

constexpr DWORD kMostAnswerBytes = 65536;
constexpr DWORD kAnswerWaitMs = 30000;
constexpr DWORD kRetryMs = 100;

std::string longPath(const std::string& path) {
  char full[MAX_PATH * 2] = "";
  const DWORD length = GetLongPathNameA(path.c_str(), full, sizeof full);
  return length > 0 && length < sizeof full ? std::string(full) : path;
}

// The guard installed beside this program. Any account may start a program of its own that
// waits for the guard's name while the guard is down; its answers are not the guard's.
bool servedByGuard(HANDLE pipe) {
  ULONG server = 0;
  if (!GetNamedPipeServerProcessId(pipe, &server))
    return false;
  OwnedHandle process{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, server)};
  char image[MAX_PATH * 2] = "";
  DWORD size = sizeof image;
  if (!process.handle || !QueryFullProcessImageNameA(process.handle, 0, image, &size))
    return false;
  char self[MAX_PATH * 2] = "";
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  if (length == 0 || length >= sizeof self)
    return false;
  std::string guard(self, length);
  guard = guard.substr(0, guard.find_last_of('\\') + 1) + "orrindale-guard.exe";
  return lstrcmpiA(longPath(image).c_str(), longPath(guard).c_str()) == 0;
}

// The pipe once it is there and free, or nothing when the wait is over.
HANDLE openPipe(int waitSeconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitSeconds) * 1000;
  for (;;) {
    // Identification only: what serves the pipe may learn who calls, but not act as the caller.
    HANDLE pipe = CreateFileA(kGuardPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (pipe != INVALID_HANDLE_VALUE)
      return pipe;
    const DWORD error = GetLastError();
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
      return INVALID_HANDLE_VALUE;
    const DWORD left = static_cast<DWORD>(deadline - now);
    // Busy: every instance serves another caller. Otherwise the guard is not there yet.
    if (error == ERROR_PIPE_BUSY)
      WaitNamedPipeA(kGuardPipeName, left < 1000 ? left : 1000);
    else
      Sleep(left < kRetryMs ? left : kRetryMs);
  }
}

}  // namespace

bool askGuardPipe(const std::string& request, std::string& answer, int waitSeconds) {
  OwnedHandle pipe{openPipe(waitSeconds)};
  if (pipe.handle == INVALID_HANDLE_VALUE || !servedByGuard(pipe.handle))
    return false;
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (!SetNamedPipeHandleState(pipe.handle, &mode, nullptr, nullptr))
    return false;
  OwnedHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  if (!done.handle)
    return false;
  std::vector<char> buffer(kMostAnswerBytes);
  OVERLAPPED overlapped{};
  overlapped.hEvent = done.handle;
  DWORD received = 0;
  if (!TransactNamedPipe(pipe.handle, const_cast<char*>(request.data()), static_cast<DWORD>(request.size()),
                         buffer.data(), kMostAnswerBytes, &received, &overlapped)) {
    if (GetLastError() != ERROR_IO_PENDING)
      return false;
    if (WaitForSingleObject(done.handle, kAnswerWaitMs) != WAIT_OBJECT_0) {
      CancelIo(pipe.handle);
      GetOverlappedResult(pipe.handle, &overlapped, &received, TRUE);
      return false;
    }
    // An answer longer than the buffer ends in ERROR_MORE_DATA: it is not a whole answer.
    if (!GetOverlappedResult(pipe.handle, &overlapped, &received, FALSE))
      return false;
  }
  answer.assign(buffer.data(), received);
  return true;
}

bool protectedInstall() {
  using GetValue = LONG(WINAPI*)(HKEY, const char*, const char*, DWORD, DWORD*, void*, DWORD*);
  char folder[MAX_PATH] = "";
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder)
    return false;
  HMODULE advapi = LoadLibraryA((std::string(folder, length) + "\\advapi32.dll").c_str());
  // Through void*: the routine's real type is not the generic one GetProcAddress returns.
  const auto getValue =
      advapi ? reinterpret_cast<GetValue>(reinterpret_cast<void*>(GetProcAddress(advapi, "RegGetValueA"))) : nullptr;
  DWORD value = 0;
  DWORD size = sizeof value;
  const bool read = getValue && getValue(HKEY_LOCAL_MACHINE, "Software\\Orrindale", "Protected", RRF_RT_REG_DWORD,
                                         nullptr, &value, &size) == ERROR_SUCCESS;
  if (advapi)
    FreeLibrary(advapi);
  return read && value == 1;
}

}  // namespace rt
