#include "guard/table_reader.h"

#include "accounting/data_file/data_file.h"
#include "accounting/table/usage_table.h"

namespace {

TableSeen readWholeTable() {
  // A damaged file is refused by the load: its missing slots would read as free, and their
  // accounts as not limited.
  if (LoadData(LockWait::TryOnce) == -1)
    return {lastLoadProblem() == LoadProblem::Locked ? TableState::Locked : TableState::Unreadable, {}, {}, {}};
  return {TableState::Readable, vTable, {}, {}};
}

}  // namespace

TableSeen readTable(TableReader& reader) {
  const rt::FileStamp now = rt::fileStamp(vSession.dataFilePath);
  if (reader.settled && now == reader.stamp)
    return reader.last;
  reader.last = readWholeTable();
  reader.stamp = now;
  // A lock is another process at work on the file: look again next time even if the
  // stamp stays the same.
  reader.settled = reader.last.state != TableState::Locked;
  return reader.last;
}
