#include "guard/table_keeper.h"

#include <utility>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/hours_file.h"
#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "guard/guard_cycle.h"
#include "runtime/file.h"

namespace {

// The fields as the data file keeps them, control bytes as blanks.
std::vector<std::string> tableFields() {
  std::vector<std::string> fields;
  for (const std::string* field : fieldsInFileOrder(std::as_const(vTable)))
    fields.push_back(storableText(*field));
  return fields;
}

void takeFields(const std::vector<std::string>& fields) {
  const std::vector<std::string*> table = fieldsInFileOrder(vTable);
  for (std::size_t i = 0; i < table.size() && i < fields.size(); ++i)
    *table[i] = fields[i];
}

// The core writes existing files only: a deleted data file is made again, empty, first.
bool writeAgain() {
  if (!rt::TextFile(vSession.dataFilePath, rt::OpenMode::Read).isOpen() &&
      !rt::TextFile(vSession.dataFilePath, rt::OpenMode::Append).isOpen())
    return false;
  return RewriteDataFile(LockWait::TryOnce);
}

}  // namespace

bool loadKeptTable(TableKeeper& keeper) {
  if (keeper.holdsTable)
    return true;
  const rt::FileStamp stamp = rt::fileStamp(vSession.dataFilePath);
  if (keeper.unreadable && stamp == keeper.unreadableStamp)
    return false;
  std::vector<std::string> fields;
  const LoadProblem problem = readDataFile(fields, LockWait::TryOnce);
  if (problem == LoadProblem::Locked)
    return false;
  if (problem != LoadProblem::None) {
    keeper.unreadable = true;
    keeper.unreadableStamp = stamp;
    return false;
  }
  takeFields(fields);
  keeper.kept = fields;
  keeper.holdsTable = true;
  keeper.unreadable = false;
  // Line 1 as typed: anyone who may read the file could read the password.
  if (!isPasswordHash(vTable.password))
    saveKeptTable(keeper);
  return true;
}

bool saveKeptTable(TableKeeper& keeper, bool overAnyContent) {
  if (!(overAnyContent ? writeAgain() : SaveData(LockWait::TryOnce))) {
    restoreKeptTable(keeper);
    return false;
  }
  // The save hashes a password stored as typed: what is kept is what was written.
  keeper.kept = tableFields();
  return true;
}

void restoreKeptTable(const TableKeeper& keeper) {
  takeFields(keeper.kept);
}

void lookAtDataFile(TableKeeper& keeper) {
  if (!keeper.holdsTable) {
    loadKeptTable(keeper);
    return;
  }
  std::vector<std::string> fields;
  const LoadProblem problem = readDataFile(fields, LockWait::TryOnce);
  if (problem == LoadProblem::Locked || (problem == LoadProblem::None && fields == keeper.kept))
    return;
  restoreKeptTable(keeper);
  if (writeAgain())
    WriteLogAs(kGuardLogName, kFileRestoredLine);
}

const std::string& passwordStateOf(TableKeeper& keeper) {
  if (keeper.passwordState.empty() || keeper.passwordLine != vTable.password) {
    keeper.passwordLine = vTable.password;
    keeper.passwordState = passwordState(vTable.password);
  }
  return keeper.passwordState;
}

bool loadKeptHours(TableKeeper& keeper) {
  if (keeper.holdsHours)
    return true;
  HoursBook book;
  std::string text;
  const HoursLoad loaded = loadHoursFile(book, LockWait::TryOnce, &text);
  if (loaded.kind != HoursLoad::Loaded && loaded.kind != HoursLoad::Damaged)
    return false;
  keeper.hours = book;
  keeper.holdsHours = true;
  // A damaged file is kept as it is, its bytes put back when changed, so that it stays damaged
  // (every account outside its hours) until the tool sets hours. No file is kept as none: an
  // install that never sets hours never gets one.
  keeper.keptHoursText = text;
  return true;
}

bool saveKeptHours(TableKeeper& keeper, const HoursBook& book) {
  if (!saveHoursFile(book, LockWait::TryOnce))
    return false;
  keeper.hours = book;
  keeper.hours.damaged = false;
  keeper.keptHoursText = hoursBookText(book);
  return true;
}

bool putBackKeptHours(TableKeeper& keeper, const HoursBook& book, const std::string& text) {
  if (!writeHoursText(text, LockWait::TryOnce))
    return false;
  keeper.hours = book;
  keeper.keptHoursText = text;
  return true;
}

void lookAtHoursFile(TableKeeper& keeper) {
  if (!keeper.holdsHours) {
    loadKeptHours(keeper);
    return;
  }
  if (hoursFileHolds(keeper.keptHoursText))
    return;
  // A file made from outside where there was none is answered with the guard's empty book.
  const bool none = keeper.keptHoursText.empty() && !keeper.hours.damaged;
  const std::string text = none ? hoursBookText(keeper.hours) : keeper.keptHoursText;
  if (writeHoursText(text, LockWait::TryOnce)) {
    keeper.keptHoursText = text;
    WriteLogAs(kGuardLogName, kHoursRestoredLine);
  }
}
