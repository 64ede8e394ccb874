// What sessions.h declares, on Windows: the sessions the terminal services list, with the
// console's session where they leave it out, and the copies of the program counted by full
// image path in a snapshot of all processes.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>

#include "guard_service/sessions.h"
#include "guard_service/terminal_services_win.h"

namespace {

std::string vProgramPath;

constexpr const char* kProgramFile = "orrindale.exe";

std::string longPath(const std::string& path) {
  char full[MAX_PATH * 2] = "";
  if (!GetLongPathNameA(path.c_str(), full, sizeof full))
    return path;
  return full;
}

// The session's account and logon time, or nothing for a session without one.
bool describe(DWORD id, SessionSeen& session) {
  const TerminalServices& services = terminalServices();
  char* text = nullptr;
  DWORD bytes = 0;
  if (!services.querySessionInformation || !services.freeMemory ||
      !services.querySessionInformation(WTS_CURRENT_SERVER_HANDLE, id, WTSUserName, &text, &bytes))
    return false;
  session.id = id;
  session.account = text;
  services.freeMemory(text);
  if (services.querySessionInformation(WTS_CURRENT_SERVER_HANDLE, id, WTSSessionInfo, &text, &bytes)) {
    session.logonStamp = reinterpret_cast<WTSINFOA*>(text)->LogonTime.QuadPart;
    services.freeMemory(text);
  }
  return !session.account.empty();
}

std::vector<DWORD> sessionIds() {
  const TerminalServices& services = terminalServices();
  std::vector<DWORD> ids;
  WTS_SESSION_INFOA* sessions = nullptr;
  DWORD count = 0;
  if (services.enumerateSessions && services.freeMemory &&
      services.enumerateSessions(WTS_CURRENT_SERVER_HANDLE, 0, 1, &sessions, &count)) {
    for (DWORD i = 0; i < count; ++i)
      ids.push_back(sessions[i].SessionId);
    services.freeMemory(sessions);
  }
  // Windows always lists the console's session; Wine lists none but answers for the console.
  const DWORD console = WTSGetActiveConsoleSessionId();
  if (console != 0xFFFFFFFF && std::find(ids.begin(), ids.end(), console) == ids.end())
    ids.push_back(console);
  return ids;
}

// A process counts as a copy only when it runs the program file itself: any account can
// give another program that name.
bool isProgram(DWORD process) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (!handle)
    return false;
  char path[MAX_PATH * 2] = "";
  DWORD size = sizeof path;
  const bool read = QueryFullProcessImageNameA(handle, 0, path, &size);
  CloseHandle(handle);
  return read && lstrcmpiA(longPath(path).c_str(), vProgramPath.c_str()) == 0;
}

// Each running copy of the program with its session; false when the processes could not be listed.
bool listCopies(std::vector<std::pair<DWORD, DWORD>>& copies) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    DWORD session = 0;
    if (lstrcmpiA(entry.szExeFile, kProgramFile) == 0 && isProgram(entry.th32ProcessID) &&
        ProcessIdToSessionId(entry.th32ProcessID, &session))
      copies.push_back({entry.th32ProcessID, session});
  }
  CloseHandle(snapshot);
  return true;
}

}  // namespace

void setProgramPath(const std::string& path) {
  vProgramPath = longPath(path);
}

const std::string& programPath() {
  return vProgramPath;
}

bool windowsSessions(std::vector<SessionSeen>& sessions) {
  std::vector<std::pair<DWORD, DWORD>> copies;
  if (!listCopies(copies))
    return false;
  sessions.clear();
  for (DWORD id : sessionIds()) {
    SessionSeen session;
    if (!describe(id, session))
      continue;
    session.copies = static_cast<int>(
        std::count_if(copies.begin(), copies.end(), [&](const auto& copy) { return copy.second == id; }));
    sessions.push_back(session);
  }
  return true;
}
