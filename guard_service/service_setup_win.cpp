// What service_setup.h declares, on Windows: the service manager's calls that register the
// guard with its restart after a failure, stop it and wait for the stop, and remove it.
#include <windows.h>

#include "guard_service/service_setup.h"

namespace {

constexpr const char* kDisplayName = "Orrindale guard";
constexpr char kDescription[] =
    "Starts Orrindale again in the session of an account with a time limit when it was ended, "
    "and logs off a session whose Orrindale keeps being ended.";
constexpr DWORD kRestartDelayMs = 5000;
constexpr DWORD kFailureResetSeconds = 24 * 60 * 60;
constexpr DWORD kStopWaitMs = 30000;

struct OwnedService {
  SC_HANDLE handle = nullptr;
  ~OwnedService() {
    if (handle)
      CloseServiceHandle(handle);
  }
};

// Restarted 5 s after it ends without being stopped (a crash, or an administrator's kill),
// each time, the count starting again after a day without failures.
void restartOnFailure(SC_HANDLE service) {
  SC_ACTION restart[3] = {
      {SC_ACTION_RESTART, kRestartDelayMs}, {SC_ACTION_RESTART, kRestartDelayMs}, {SC_ACTION_RESTART, kRestartDelayMs}};
  SERVICE_FAILURE_ACTIONSA actions{};
  actions.dwResetPeriod = kFailureResetSeconds;
  actions.cActions = 3;
  actions.lpsaActions = restart;
  // Not every platform keeps failure actions (Wine does not); the service runs without them.
  ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, &actions);
}

}  // namespace

unsigned long installService(const std::string& program) {
  OwnedService manager{OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_CREATE_SERVICE)};
  if (!manager.handle)
    return GetLastError();
  // Quoted: an unquoted path with blanks could start another program of a similar name.
  const std::string command = "\"" + program + "\"";
  OwnedService service{CreateServiceA(manager.handle, kServiceName, kDisplayName, SERVICE_ALL_ACCESS,
                                      SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                      command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr)};
  if (!service.handle) {
    if (GetLastError() != ERROR_SERVICE_EXISTS)
      return GetLastError();
    service.handle = OpenServiceA(manager.handle, kServiceName, SERVICE_ALL_ACCESS);
    if (!service.handle ||
        !ChangeServiceConfigA(service.handle, SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                              command.c_str(), nullptr, nullptr, nullptr, "LocalSystem", nullptr, kDisplayName))
      return GetLastError();
  }
  SERVICE_DESCRIPTIONA description{const_cast<char*>(kDescription)};
  if (!ChangeServiceConfig2A(service.handle, SERVICE_CONFIG_DESCRIPTION, &description))
    return GetLastError();
  restartOnFailure(service.handle);
  if (!StartServiceA(service.handle, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
    return GetLastError();
  return 0;
}

unsigned long stopService() {
  OwnedService manager{OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)};
  if (!manager.handle)
    return GetLastError();
  OwnedService service{OpenServiceA(manager.handle, kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS)};
  if (!service.handle)
    return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? 0 : GetLastError();
  SERVICE_STATUS_PROCESS status{};
  DWORD size = 0;
  if (!QueryServiceStatusEx(service.handle, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                            &size))
    return GetLastError();
  if (status.dwCurrentState == SERVICE_STOPPED || status.dwProcessId == 0)
    return 0;
  // The process is opened before it is asked to stop, so that its end cannot be missed.
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, status.dwProcessId);
  SERVICE_STATUS stopped{};
  const bool asked =
      ControlService(service.handle, SERVICE_CONTROL_STOP, &stopped) || GetLastError() == ERROR_SERVICE_NOT_ACTIVE;
  DWORD error = asked ? 0 : GetLastError();
  if (process) {
    if (asked && WaitForSingleObject(process, kStopWaitMs) == WAIT_TIMEOUT)
      error = ERROR_SERVICE_REQUEST_TIMEOUT;
    CloseHandle(process);
  }
  return error;
}

unsigned long removeService() {
  if (const unsigned long error = stopService())
    return error;
  OwnedService manager{OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)};
  if (!manager.handle)
    return GetLastError();
  OwnedService service{OpenServiceA(manager.handle, kServiceName, DELETE)};
  if (!service.handle)
    return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? 0 : GetLastError();
  return DeleteService(service.handle) || GetLastError() == ERROR_SERVICE_MARKED_FOR_DELETE ? 0 : GetLastError();
}

bool serviceRunning() {
  OwnedService manager{OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)};
  if (!manager.handle)
    return false;
  OwnedService service{OpenServiceA(manager.handle, kServiceName, SERVICE_QUERY_STATUS)};
  SERVICE_STATUS status{};
  return service.handle && QueryServiceStatus(service.handle, &status) && status.dwCurrentState != SERVICE_STOPPED;
}
