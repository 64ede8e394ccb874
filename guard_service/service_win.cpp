// orrindale-guard.exe: the Windows service OrrindaleGuard. It runs as LocalSystem, so the
// accounts it guards can neither stop nor end it, and every few seconds makes sure that each
// limited account's session runs its copy of Orrindale (guard/guard_cycle.h). In a protected
// install it also keeps the table and the log, and answers the copies and the tool on its pipe.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "accounting/activity_log.h"
#include "accounting/log_texts.h"
#include "accounting/usage_table.h"
#include "guard/guard_cycle.h"
#include "guard/guard_options.h"
#include "guard_service/pipe_server.h"
#include "guard_service/service_setup.h"
#include "guard_service/session_actions.h"
#include "guard_service/sessions.h"
#include "runtime/clock.h"
#include "runtime/guard_pipe.h"

namespace {

GuardOptions vOptions;
SERVICE_STATUS_HANDLE vStatusHandle = nullptr;
HANDLE vStopEvent = nullptr;
TableKeeper vKeeper;

std::string answerCaller(const Caller& caller, std::string_view request) {
  return answerRequest(vKeeper, vOptions.requests, caller, request);
}

bool reportState(DWORD state, DWORD exitCode = NO_ERROR) {
  SERVICE_STATUS status{};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  status.dwWin32ExitCode = exitCode;
  status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 10000;
  return SetServiceStatus(vStatusHandle, &status) != 0;
}

// Only the service manager calls this. Stop and shut-down end the loop; every other control,
// including the user-defined ones that any interactive account may send, is refused.
DWORD WINAPI onControl(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      reportState(SERVICE_STOP_PENDING);
      SetEvent(vStopEvent);
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

std::string selfPath() {
  char self[MAX_PATH * 2] = "";
  GetModuleFileNameA(nullptr, self, sizeof self);
  return self;
}

std::string folderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

void WINAPI serviceMain(DWORD argc, char** argv) {
  vStatusHandle = RegisterServiceCtrlHandlerExA(kServiceName, onControl, nullptr);
  if (!vStatusHandle)
    return;
  vStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  // The arguments of a start (argv[0] is the service's name) come on top of the command line;
  // only an administrator may start the service.
  readGuardOptions(vOptions, std::vector<std::string>(argv + std::min<DWORD>(argc, 1), argv + argc));
  if (!vStopEvent || !vOptions.error.empty()) {
    reportState(SERVICE_STOPPED, ERROR_INVALID_PARAMETER);
    return;
  }
  vSession.dataFilePath = vOptions.dataFile;
  vSession.logPath = vOptions.log;
  vSession.userName = kGuardLogName;
  setProgramPath(folderOf(selfPath()) + "\\orrindale.exe");

  // A guard the service manager does not know to be running could not be stopped by it.
  if (!reportState(SERVICE_RUNNING))
    ExitProcess(ERROR_SERVICE_NO_THREAD);
  GuardRun run;
  run.settings = vOptions.settings;
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
  const ULONGLONG interval = static_cast<ULONGLONG>(vOptions.intervalSeconds) * 1000;
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
    std::vector<HANDLE> handles{vStopEvent};
    for (HANDLE event : pipeEvents(server))
      handles.push_back(event);
    const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, wait);
    if (woken == WAIT_OBJECT_0)
      break;
    if (woken > WAIT_OBJECT_0 && woken < WAIT_OBJECT_0 + handles.size())
      servePipe(server, woken - WAIT_OBJECT_0 - 1, answerCaller);
  }
  closePipeServer(server);
  reportState(SERVICE_STOPPED);
}

// The installer's commands: --install, --stop and --remove. -1 when the argument is none.
int setupCommand(const std::string& command) {
  unsigned long error = 0;
  if (command == "--install")
    error = installService(selfPath());
  else if (command == "--stop")
    error = stopService();
  else if (command == "--remove")
    error = removeService();
  else
    return -1;
  if (error)
    std::fprintf(stderr, "orrindale-guard: %s failed (error %lu)\n", command.c_str() + 2, error);
  return error ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) {
    const int status = setupCommand(argv[1]);
    if (status >= 0)
      return status;
  }
  readGuardOptions(vOptions, std::vector<std::string>(argv + 1, argv + argc));
  if (!vOptions.error.empty() || vOptions.help) {
    std::fputs(vOptions.error.empty() ? "" : ("orrindale-guard: " + vOptions.error + "\n").c_str(), stderr);
    std::fputs(kGuardUsage, vOptions.help ? stdout : stderr);
    return vOptions.help ? 0 : 1;
  }
  SERVICE_TABLE_ENTRYA services[] = {{const_cast<char*>(kServiceName), serviceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherA(services)) {
    std::fprintf(stderr, "orrindale-guard: runs only as the service %s (error %lu)\n", kServiceName, GetLastError());
    return 1;
  }
  return 0;
}
