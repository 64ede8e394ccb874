#pragma once
// The terminal services' and the user profiles' routines the guard calls, bound by name from the
// system folder at their first use: wtsapi32.dll and userenv.dll are not among the libraries
// Windows always takes from there, so imported at load time one of that name beside
// orrindale-guard.exe would be loaded into the LocalSystem service first.
#include <windows.h>

#include <userenv.h>
#include <wtsapi32.h>

struct TerminalServices {
  decltype(&WTSEnumerateSessionsA) enumerateSessions = nullptr;
  decltype(&WTSQuerySessionInformationA) querySessionInformation = nullptr;
  decltype(&WTSFreeMemory) freeMemory = nullptr;
  decltype(&WTSQueryUserToken) queryUserToken = nullptr;
  decltype(&WTSLogoffSession) logoffSession = nullptr;
  decltype(&CreateEnvironmentBlock) createEnvironmentBlock = nullptr;
  decltype(&DestroyEnvironmentBlock) destroyEnvironmentBlock = nullptr;
};

// The routines, bound at the first call (from the guard's round only); a routine the system
// lacks is nullptr, and its caller fails as the routine itself would have.
const TerminalServices& terminalServices();
