// What guard_loop.h declares: the rounds on their interval and the pipe's callers in between,
// both served by one thread waiting on the stop event and the pipe's events.
#include "guard_service/guard_loop.h"

#include <algorithm>
#include <string>
#include <vector>

#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/usage_table.h"
#include "guard/guard_cycle.h"
#include "guard_service/pipe_server.h"
#include "guard_service/session_actions.h"
#include "guard_service/sessions.h"
#include "runtime/clock.h"
#include "runtime/guard_pipe.h"

namespace {

const GuardOptions* vOptions = nullptr;
TableKeeper vKeeper;

std::string answerCaller(const Caller& caller, std::string_view request) {
  return answerRequest(vKeeper, vOptions->requests, caller, request);
}

std::string folderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

}  // namespace

void runGuard(const GuardOptions& options, HANDLE stopEvent) {
  vOptions = &options;
  vSession.dataFilePath = options.dataFile;
  vSession.logPath = options.log;
  vSession.userName = kGuardLogName;
  char self[MAX_PATH * 2] = "";
  GetModuleFileNameA(nullptr, self, sizeof self);
  setProgramPath(folderOf(self) + "\\orrindale.exe");

  GuardRun run;
  run.settings = options.settings;
  const bool guarding = rt::protectedInstall();
  // The start line of a guard that keeps the clock tells the report that from here on an
  // account's logons, log-offs and last minutes are the guard's lines, not its copies'.
  WriteLog(guarding ? kGuardKeepsClockLine : "Guard started");
  // Registered to start in Safe Mode too, where Windows runs no other program of the setup's.
  if (GetSystemMetrics(SM_CLEANBOOT) != 0)
    WriteLog("Guard runs in Safe Mode");
  if (guarding) {
    run.keeper = &vKeeper;
    loadKeptTable(vKeeper);
  }
  const GuardPlatform platform{windowsSessions, startProgramInSession, logOffSession};
  PipeServer server;
  const ULONGLONG interval = static_cast<ULONGLONG>(options.intervalSeconds) * 1000;
  ULONGLONG nextRound = GetTickCount64();
  for (;;) {
    if (GetTickCount64() >= nextRound) {
      guardCycle(run, platform, rt::secondsNow());
      nextRound = GetTickCount64() + interval;
    }
    // The name is tried again at every round while another program holds it.
    if (guarding)
      openPipeServer(server);
    const ULONGLONG now = GetTickCount64();
    const DWORD wait = std::min<ULONGLONG>(nextRound > now ? nextRound - now : 0, dropLateCallers(server));
    std::vector<HANDLE> handles{stopEvent};
    for (HANDLE event : pipeEvents(server))
      handles.push_back(event);
    const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, wait);
    if (woken == WAIT_OBJECT_0)
      break;
    if (woken > WAIT_OBJECT_0 && woken < WAIT_OBJECT_0 + handles.size())
      servePipe(server, woken - WAIT_OBJECT_0 - 1, answerCaller);
  }
  closePipeServer(server);
}
