// orrindale-guard.exe: the Windows service OrrindaleGuard, the service manager's plumbing around
// the guard's work (guard_loop.h). It runs as LocalSystem, so the accounts it guards can neither
// stop nor end it. The installer's commands register, stop and remove it; `--console` runs the
// same work in a console until Ctrl+C, for developers and tests.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "guard/guard_options.h"
#include "guard_service/guard_loop.h"
#include "guard_service/service_setup.h"

namespace {

GuardOptions vOptions;
SERVICE_STATUS_HANDLE vStatusHandle = nullptr;
HANDLE vStopEvent = nullptr;

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
  // A guard the service manager does not know to be running could not be stopped by it.
  if (!reportState(SERVICE_RUNNING))
    ExitProcess(ERROR_SERVICE_NO_THREAD);
  runGuard(vOptions, vStopEvent);
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

BOOL WINAPI onConsoleControl(DWORD) {
  SetEvent(vStopEvent);
  return TRUE;
}

// The guard's work in this console until Ctrl+C (or the console closes). Refused while the
// service runs: two guards would act twice on every session.
int runInConsole() {
  if (serviceRunning()) {
    std::fprintf(stderr, "orrindale-guard: the service %s is running; stop it first\n", kServiceName);
    return 2;
  }
  vStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!vStopEvent || !SetConsoleCtrlHandler(onConsoleControl, TRUE))
    return 2;
  runGuard(vOptions, vStopEvent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) {
    const int status = setupCommand(argv[1]);
    if (status >= 0)
      return status;
  }
  const bool console = argc > 1 && std::string(argv[1]) == "--console";
  readGuardOptions(vOptions, std::vector<std::string>(argv + (console ? 2 : 1), argv + argc));
  if (!vOptions.error.empty() || vOptions.help) {
    std::fputs(vOptions.error.empty() ? "" : ("orrindale-guard: " + vOptions.error + "\n").c_str(), stderr);
    std::fputs(kGuardUsage, vOptions.help ? stdout : stderr);
    return vOptions.help ? 0 : 1;
  }
  if (console)
    return runInConsole();
  SERVICE_TABLE_ENTRYA services[] = {{const_cast<char*>(kServiceName), serviceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherA(services)) {
    std::fprintf(stderr, "orrindale-guard: runs only as the service %s (error %lu)\n", kServiceName, GetLastError());
    return 1;
  }
  return 0;
}
