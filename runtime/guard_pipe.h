#pragma once
// The guard service's pipe as its clients reach it: one request sent, one answer read. The
// guard serves it as LocalSystem; only Windows has it.
#include <string>

namespace rt {

// The guard creates it as its first instance, so no other program can serve that name.
constexpr const char* kGuardPipeName = "\\\\.\\pipe\\OrrindaleGuard";

// Sends the request and reads the answer, waiting up to the given seconds for the pipe to be
// there and free, and up to 5 s more for the answer. False when it was not, when the pipe is not
// the system's (another program took the name while the guard was down), or when no whole answer
// came back.
bool askGuardPipe(const std::string& request, std::string& answer, int waitSeconds);

// Whether an administrator installed Orrindale protected: the machine's registry says so in
// HKLM\Software\Orrindale, value Protected = 1, which standard accounts cannot change.
bool protectedInstall();

}  // namespace rt
