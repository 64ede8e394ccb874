#include "runtime/file_faults.h"

#include <algorithm>

#include "runtime/processes.h"

namespace rt {
namespace {
FileFaults vFaults;
}

void injectFileFaults(const FileFaults& faults) {
  vFaults = faults;
}

namespace injected {

std::size_t writableBytes(long long offset, std::size_t size, long long fileSize) {
  if (vFaults.writeCallsBeforeKill == 0)
    killProcess();
  if (vFaults.writeCallsBeforeKill > 0)
    --vFaults.writeCallsBeforeKill;
  long long allowed = static_cast<long long>(size);
  if (vFaults.writeCallsBeforeFailure == 0) {
    vFaults.writeCallsBeforeFailure = -1;
    allowed = vFaults.shortWrite ? allowed / 2 : 0;
  } else if (vFaults.writeCallsBeforeFailure > 0) {
    --vFaults.writeCallsBeforeFailure;
  }
  if (vFaults.spaceLeft >= 0) {
    // Only bytes past the end of the file take new space; a full disk ends the call there.
    const long long room = std::max(fileSize, offset) + vFaults.spaceLeft - offset;
    allowed = std::clamp(room, 0LL, allowed);
    vFaults.spaceLeft -= std::max(0LL, offset + allowed - fileSize);
  }
  return static_cast<std::size_t>(allowed);
}

bool readFails(long long endPosition) {
  return vFaults.readableBytes >= 0 && endPosition > vFaults.readableBytes;
}

}  // namespace injected
}  // namespace rt
