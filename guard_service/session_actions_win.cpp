// What session_actions.h declares, on Windows: a copy started with the session account's own
// token and environment, and the log-off through the terminal services.
#include <windows.h>

#include <string>

#include "guard_service/session_actions.h"
#include "guard_service/sessions.h"
#include "guard_service/terminal_services_win.h"
#include "runtime/owned_handle_win.h"

namespace {

struct OwnedEnvironment {
  void* block = nullptr;
  ~OwnedEnvironment() {
    if (block)
      terminalServices().destroyEnvironmentBlock(block);
  }
};

}  // namespace

unsigned long startProgramInSession(unsigned session) {
  // The logged-on account's own token and environment, so that the copy runs as that account
  // with its USERNAME, exactly as its Startup entry would have started it.
  const TerminalServices& services = terminalServices();
  if (!services.queryUserToken || !services.createEnvironmentBlock || !services.destroyEnvironmentBlock)
    return ERROR_PROC_NOT_FOUND;
  OwnedHandle token;
  if (!services.queryUserToken(session, &token.handle))
    return GetLastError();
  OwnedEnvironment environment;
  if (!services.createEnvironmentBlock(&environment.block, token.handle, FALSE))
    return GetLastError();
  const std::string program = programPath();
  const std::string folder = program.substr(0, program.find_last_of('\\'));
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<char*>("winsta0\\default");
  PROCESS_INFORMATION process{};
  // The program's path is given apart from the command line, so that no part of a path with
  // blanks can be taken for another program.
  if (!CreateProcessAsUserA(token.handle, program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                            CREATE_UNICODE_ENVIRONMENT, environment.block, folder.c_str(), &startup, &process))
    return GetLastError();
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

unsigned long logOffSession(unsigned session) {
  // Not waiting: the session's programs get the usual time to close, as at any log-off.
  const auto logoff = terminalServices().logoffSession;
  if (!logoff)
    return ERROR_PROC_NOT_FOUND;
  return logoff(WTS_CURRENT_SERVER_HANDLE, session, FALSE) ? 0 : GetLastError();
}
