// What pipe_server.h declares: the pipe's security, its instances and their states, and who the
// caller is, from the token the pipe gives for it.
#include <windows.h>

#include <sddl.h>

#include "accounting/log/activity_log.h"
#include "accounting/guard_link/guard_protocol.h"
#include "guard/guard_cycle.h"
#include "guard_service/pipe_server.h"
#include "runtime/guard_pipe.h"
#include "runtime/owned_handle_win.h"

namespace {

constexpr DWORD kInstances = 4;
constexpr DWORD kBufferBytes = kMostMessageBytes;
constexpr ULONGLONG kCallerMs = 5000;

// Owned by LocalSystem, which only the system's own programs can give an object, so that a client
// can tell the guard's pipe from an impostor's. LocalSystem and the administrators have full
// control; any account logged on may read and write the pipe but not make an instance of it
// (FILE_CREATE_PIPE_INSTANCE, 0x4, is left out of 0x12019b).
constexpr const char* kPipeSecurity = "O:SYD:(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x12019b;;;AU)";

HANDLE createInstance(bool first) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kPipeSecurity, SDDL_REVISION_1, &descriptor, nullptr))
    return INVALID_HANDLE_VALUE;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
  HANDLE pipe = CreateNamedPipeA(rt::kGuardPipeName, openMode,
                                 PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                 kInstances, kBufferBytes, kBufferBytes, 0, &attributes);
  LocalFree(descriptor);
  return pipe;
}

// The caller's account, and whether it is LocalSystem or an enabled administrator.
Caller callerOf(const PipeInstance& instance) {
  Caller caller;
  caller.session = instance.session;
  HANDLE pipe = instance.pipe;
  if (!ImpersonateNamedPipeClient(pipe))
    return caller;
  OwnedHandle token;
  const bool opened = OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token.handle);
  RevertToSelf();
  if (!opened)
    return caller;
  alignas(TOKEN_USER) BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)] = {};
  DWORD size = 0;
  if (!GetTokenInformation(token.handle, TokenUser, user, sizeof user, &size))
    return caller;
  PSID sid = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
  char name[256] = "";
  char domain[256] = "";
  DWORD nameSize = sizeof name;
  DWORD domainSize = sizeof domain;
  SID_NAME_USE use{};
  if (LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
    caller.account = name;
  BYTE administrators[SECURITY_MAX_SID_SIZE] = {};
  DWORD sidSize = sizeof administrators;
  BOOL member = FALSE;
  caller.administrator = IsWellKnownSid(sid, WinLocalSystemSid) ||
                         (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize) &&
                          CheckTokenMembership(token.handle, administrators, &member) && member);
  return caller;
}

// A new overlapped call of the instance in the state; the event signals its end.
void begin(PipeInstance& instance, PipeInstance::State state) {
  instance.state = state;
  instance.failed = false;
  instance.overlapped = OVERLAPPED{};
  instance.overlapped.hEvent = instance.event;
  ResetEvent(instance.event);
}

// The call did not start: the instance is looked at again at once, and its caller let go.
void failedAtOnce(PipeInstance& instance) {
  instance.failed = true;
  SetEvent(instance.event);
}

// Waiting for a caller; one that came before is taken at once.
void awaitCaller(PipeInstance& instance) {
  instance.message.clear();
  instance.deadline = 0;
  begin(instance, PipeInstance::State::Connecting);
  if (ConnectNamedPipe(instance.pipe, &instance.overlapped))
    return;
  if (GetLastError() == ERROR_PIPE_CONNECTED)
    SetEvent(instance.event);  // a caller came between the disconnection and now
  else if (GetLastError() != ERROR_IO_PENDING)
    failedAtOnce(instance);
}

// Lets the caller go, and waits for the next.
void listen(PipeInstance& instance) {
  DisconnectNamedPipe(instance.pipe);
  awaitCaller(instance);
}

void startRead(PipeInstance& instance, PipeInstance::State state) {
  begin(instance, state);
  instance.message.assign(kBufferBytes, '\0');
  if (!ReadFile(instance.pipe, instance.message.data(), kBufferBytes, nullptr, &instance.overlapped) &&
      GetLastError() != ERROR_IO_PENDING && GetLastError() != ERROR_MORE_DATA)
    failedAtOnce(instance);
}

void startWrite(PipeInstance& instance, std::string answer) {
  begin(instance, PipeInstance::State::Writing);
  instance.deadline = GetTickCount64() + kCallerMs;
  instance.message = std::move(answer);
  if (!WriteFile(instance.pipe, instance.message.data(), static_cast<DWORD>(instance.message.size()), nullptr,
                 &instance.overlapped) &&
      GetLastError() != ERROR_IO_PENDING)
    failedAtOnce(instance);
}

// Whether the new caller's session is served on another instance already. A caller whose
// session cannot be told is served.
bool heldBySessionElsewhere(const PipeServer& server, PipeInstance& instance) {
  instance.session = 0;
  if (!GetNamedPipeClientSessionId(instance.pipe, &instance.session))
    return false;
  for (const PipeInstance& other : server.instances)
    if (&other != &instance && other.state != PipeInstance::State::Connecting && other.session == instance.session)
      return true;
  return false;
}

}  // namespace

bool openPipeServer(PipeServer& server) {
  if (!server.instances.empty())
    return true;
  for (DWORD i = 0; i < kInstances; ++i) {
    PipeInstance instance;
    instance.pipe = createInstance(i == 0);
    instance.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (instance.pipe == INVALID_HANDLE_VALUE || !instance.event) {
      if (instance.event)
        CloseHandle(instance.event);
      if (instance.pipe != INVALID_HANDLE_VALUE)
        CloseHandle(instance.pipe);
      break;
    }
    server.instances.push_back(instance);
  }
  if (server.instances.empty()) {
    if (!server.nameTakenLogged)
      WriteLogAs(kGuardLogName, "Guard cannot serve its pipe - another program holds the name");
    server.nameTakenLogged = true;
    return false;
  }
  server.nameTakenLogged = false;
  for (PipeInstance& instance : server.instances)
    awaitCaller(instance);
  return true;
}

std::vector<HANDLE> pipeEvents(const PipeServer& server) {
  std::vector<HANDLE> events;
  for (const PipeInstance& instance : server.instances)
    events.push_back(instance.event);
  return events;
}

void servePipe(PipeServer& server, std::size_t index, AnswerRoutine answer) {
  PipeInstance& instance = server.instances.at(index);
  if (instance.failed) {
    listen(instance);
    return;
  }
  DWORD bytes = 0;
  const bool done = GetOverlappedResult(instance.pipe, &instance.overlapped, &bytes, FALSE);
  const DWORD error = done ? ERROR_SUCCESS : GetLastError();
  switch (instance.state) {
    case PipeInstance::State::Connecting:
      if (!done || heldBySessionElsewhere(server, instance)) {
        listen(instance);
        return;
      }
      instance.deadline = GetTickCount64() + kCallerMs;
      startRead(instance, PipeInstance::State::Reading);
      return;
    case PipeInstance::State::Reading: {
      if (!done && error != ERROR_MORE_DATA) {
        listen(instance);  // the caller went away
        return;
      }
      // A message longer than the buffer is not read further: it is refused as not whole.
      instance.message.resize(error == ERROR_MORE_DATA ? kBufferBytes + 1 : bytes);
      startWrite(instance, answer(callerOf(instance), instance.message));
      return;
    }
    case PipeInstance::State::Writing:
      if (!done) {
        listen(instance);
        return;
      }
      startRead(instance, PipeInstance::State::Closing);
      return;
    case PipeInstance::State::Closing:
      listen(instance);  // the caller closed its end, or sent more than it should
      return;
  }
}

DWORD dropLateCallers(PipeServer& server) {
  const ULONGLONG now = GetTickCount64();
  ULONGLONG next = 0;
  for (PipeInstance& instance : server.instances) {
    if (instance.deadline == 0)
      continue;
    if (now >= instance.deadline) {
      CancelIo(instance.pipe);
      DWORD bytes = 0;
      if (!instance.failed)
        GetOverlappedResult(instance.pipe, &instance.overlapped, &bytes, TRUE);
      listen(instance);
      continue;
    }
    if (next == 0 || instance.deadline < next)
      next = instance.deadline;
  }
  return next == 0 ? INFINITE : static_cast<DWORD>(next - now);
}

void closePipeServer(PipeServer& server) {
  for (PipeInstance& instance : server.instances) {
    // The system writes into the instance's OVERLAPPED until a cancelled call has ended.
    CancelIo(instance.pipe);
    DWORD bytes = 0;
    if (!instance.failed)
      GetOverlappedResult(instance.pipe, &instance.overlapped, &bytes, TRUE);
    CloseHandle(instance.pipe);
    CloseHandle(instance.event);
  }
  server.instances.clear();
}
