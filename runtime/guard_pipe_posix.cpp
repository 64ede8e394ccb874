// What guard_pipe.h declares, on POSIX: the guard service is a Windows service, so nothing
// serves its pipe and no install is protected.
#include "runtime/guard_pipe.h"

namespace rt {

bool askGuardPipe(const std::string&, std::string&, int) {
  return false;
}

bool protectedInstall() {
  return false;
}

}  // namespace rt
