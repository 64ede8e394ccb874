#pragma once
// The accounts the data file limits, as the guard sees them: read through the core's loader
// and lock, read-only, and only when the file changed since the last reading, so that a
// file that cannot be read is reported once and copies saving it rarely meet the guard's lock.
#include "guard/decisions.h"
#include "runtime/file_stamp.h"

struct TableReader {
  rt::FileStamp stamp;  // of the file at the last reading that settled what it holds
  TableSeen last;
  bool settled = false;
};

// The table as it is now: read again when the file changed or was locked at the last try.
TableSeen readTable(TableReader& reader);
