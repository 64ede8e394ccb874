// What guard_pipe.h declares, on Windows: the guard's pipe in message mode, its owner checked,
// the answer awaited with a time limit, and the protected install read from the machine's
// registry. Only kernel32 is linked; advapi32's routines are bound when first needed.
#include <windows.h>
// For the routines' types only.
#include <aclapi.h>

#include <vector>

#include "runtime/guard_pipe.h"
#include "runtime/owned_handle_win.h"
#include "runtime/system_library_win.h"

namespace rt {
namespace {

constexpr DWORD kMostAnswerBytes = 65536;
// The answer, once connected: the guard answers at once, but may have a few hashes to do first.
constexpr DWORD kAnswerWaitMs = 5000;
constexpr DWORD kRetryMs = 100;

struct Advapi {
  decltype(&RegGetValueA) getValue;
  decltype(&GetSecurityInfo) securityInfo;
  decltype(&IsWellKnownSid) wellKnown;
};

const Advapi& advapi() {
  static const Advapi bound = [] {
    const HMODULE library = systemLibrary("advapi32.dll");
    return Advapi{routine<decltype(Advapi::getValue)>(library, "RegGetValueA"),
                  routine<decltype(Advapi::securityInfo)>(library, "GetSecurityInfo"),
                  routine<decltype(Advapi::wellKnown)>(library, "IsWellKnownSid")};
  }();
  return bound;
}

// Owned by LocalSystem, as the guard makes its pipe: only the system's own programs can give an
// object that owner. Any account may start a program of its own that takes the guard's name while
// the guard is down (or runs the guard's own file, as itself); its answers are not the guard's.
bool ownedBySystem(HANDLE pipe) {
  const Advapi& api = advapi();
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!api.securityInfo || !api.wellKnown ||
      api.securityInfo(pipe, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                       &descriptor) != ERROR_SUCCESS)
    return false;
  const bool system = owner && api.wellKnown(owner, WinLocalSystemSid);
  LocalFree(descriptor);
  return system;
}

// The pipe once it is there and free, or nothing when the wait is over.
HANDLE openPipe(ULONGLONG deadline) {
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

namespace {

// The answer to the request on the pipe opened. Let go: the guard disconnected the caller before
// it answered (it serves one request of a session at a time), which is worth another try; failed:
// no answer in time, or one too long to be whole.
enum class Exchange { Answered, LetGo, Failed };

Exchange exchange(HANDLE pipe, const std::string& request, std::string& answer) {
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (!SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr))
    return Exchange::LetGo;
  OwnedHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  if (!done.handle)
    return Exchange::Failed;
  std::vector<char> buffer(kMostAnswerBytes);
  OVERLAPPED overlapped{};
  overlapped.hEvent = done.handle;
  DWORD received = 0;
  if (!TransactNamedPipe(pipe, const_cast<char*>(request.data()), static_cast<DWORD>(request.size()), buffer.data(),
                         kMostAnswerBytes, &received, &overlapped)) {
    if (GetLastError() != ERROR_IO_PENDING)
      return GetLastError() == ERROR_MORE_DATA ? Exchange::Failed : Exchange::LetGo;
    if (WaitForSingleObject(done.handle, kAnswerWaitMs) != WAIT_OBJECT_0) {
      CancelIo(pipe);
      GetOverlappedResult(pipe, &overlapped, &received, TRUE);
      return Exchange::Failed;
    }
    // An answer longer than the buffer ends in ERROR_MORE_DATA: it is not a whole answer.
    if (!GetOverlappedResult(pipe, &overlapped, &received, FALSE))
      return GetLastError() == ERROR_MORE_DATA ? Exchange::Failed : Exchange::LetGo;
  }
  answer.assign(buffer.data(), received);
  return Exchange::Answered;
}

}  // namespace

bool askGuardPipe(const std::string& request, std::string& answer, int waitSeconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitSeconds) * 1000;
  for (;;) {
    OwnedHandle pipe{openPipe(deadline)};
    if (pipe.handle == INVALID_HANDLE_VALUE)
      return false;
    // A pipe let go at once no longer tells its owner: it is tried again like any other let go.
    const Exchange result = ownedBySystem(pipe.handle) ? exchange(pipe.handle, request, answer) : Exchange::LetGo;
    if (result != Exchange::LetGo || GetTickCount64() >= deadline)
      return result == Exchange::Answered;
    Sleep(kRetryMs);
  }
}

bool protectedInstall() {
  const Advapi& api = advapi();
  DWORD value = 0;
  DWORD size = sizeof value;
  return api.getValue &&
         api.getValue(HKEY_LOCAL_MACHINE, "Software\\Orrindale", "Protected", RRF_RT_REG_DWORD, nullptr, &value,
                      &size) == ERROR_SUCCESS &&
         value == 1;
}

}  // namespace rt
