#include "guard_service/terminal_services_win.h"

#include "runtime/system_library_win.h"

namespace {
TerminalServices bind() {
  const HMODULE sessions = rt::systemLibrary("wtsapi32.dll");
  const HMODULE profiles = rt::systemLibrary("userenv.dll");
  TerminalServices bound;
  bound.enumerateSessions = rt::routine<decltype(bound.enumerateSessions)>(sessions, "WTSEnumerateSessionsA");
  bound.querySessionInformation =
      rt::routine<decltype(bound.querySessionInformation)>(sessions, "WTSQuerySessionInformationA");
  bound.freeMemory = rt::routine<decltype(bound.freeMemory)>(sessions, "WTSFreeMemory");
  bound.queryUserToken = rt::routine<decltype(bound.queryUserToken)>(sessions, "WTSQueryUserToken");
  bound.logoffSession = rt::routine<decltype(bound.logoffSession)>(sessions, "WTSLogoffSession");
  bound.createEnvironmentBlock = rt::routine<decltype(bound.createEnvironmentBlock)>(profiles, "CreateEnvironmentBlock");
  bound.destroyEnvironmentBlock =
      rt::routine<decltype(bound.destroyEnvironmentBlock)>(profiles, "DestroyEnvironmentBlock");
  return bound;
}
}  // namespace

const TerminalServices& terminalServices() {
  static const TerminalServices bound = bind();
  return bound;
}
