#pragma once
// The guard's pipe, served by the service's one thread: a few instances with overlapped I/O,
// each reading one request, answering it and letting the caller go. A caller that does not send a
// whole request in time, or sends too much, is let go; nothing a caller does stops the service.
// One session is served on one instance at a time: a second caller of a session that holds one
// is let go at once and tries again, so that one session cannot hold every instance.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "guard/requests.h"

struct PipeInstance {
  HANDLE pipe = INVALID_HANDLE_VALUE;
  HANDLE event = nullptr;
  OVERLAPPED overlapped{};
  // Waiting for a caller, reading its request, writing the answer, waiting for the caller to
  // close its end (disconnecting earlier would throw away an answer it has not read yet).
  enum class State { Connecting, Reading, Writing, Closing } state = State::Connecting;
  std::string message;     // the request as read, then the answer as written
  ULONGLONG deadline = 0;  // when a connected caller is let go; 0 while waiting for one
  bool failed = false;     // the last call failed at once: the caller is let go
  ULONG session = 0;       // the connected caller's logon session
};

struct PipeServer {
  std::vector<PipeInstance> instances;
  bool nameTakenLogged = false;
};

// Answers a request from a caller: the guard's request handling.
using AnswerRoutine = std::string (*)(const Caller& caller, std::string_view request);

// Creates the instances when there are none yet, the first one as the name's first instance:
// false while another program holds the name (said once in the log).
bool openPipeServer(PipeServer& server);
// The instances' events, for the service's wait.
std::vector<HANDLE> pipeEvents(const PipeServer& server);
// Carries on with the instance whose event was signalled.
void servePipe(PipeServer& server, std::size_t instance, AnswerRoutine answer);
// Lets callers go whose time is up; returns the milliseconds until the next such deadline
// (INFINITE when there is none).
DWORD dropLateCallers(PipeServer& server);
void closePipeServer(PipeServer& server);
