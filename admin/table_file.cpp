#include "admin/table_file.h"

#include "accounting/data_file/data_file.h"
#include "accounting/table/table_home.h"
#include "accounting/table/usage_table.h"
#include "admin/admin.h"

namespace {
TextWriter* vLockReport = nullptr;
// The table as loaded, so that only what a command changed goes back.
UsageTable vAsRead;

const char* const noGuardText =
    "orrindale-admin: the guard service OrrindaleGuard, which keeps the table of this protected install, does "
    "not answer (\"sc start OrrindaleGuard\" starts it); nothing was changed\n";

int lockGaveUp() {
  if (vLockReport) {
    *vLockReport << "orrindale-admin: the data file " << vSession.dataFilePath
                 << " stayed locked by another program for over a minute; nothing was changed\n";
    vLockReport->flush();
  }
  return kExitFile;
}
}  // namespace

LoadOutcome loadTable() {
  const TableLoad loaded = vHome.load();
  vAsRead = vTable;
  switch (loaded) {
    case TableLoad::Loaded:
      return LoadOutcome::Loaded;
    case TableLoad::Missing:
      return LoadOutcome::Missing;
    case TableLoad::Damaged:
      return LoadOutcome::NotADataFile;
    case TableLoad::Silent:
      break;
  }
  return LoadOutcome::NoGuard;
}

std::string loadedPasswordState() {
  return vHome.passwordState();
}

bool loadForCommand(Console& console) {
  return explainLoad(console, loadTable());
}

bool explainLoad(Console& console, LoadOutcome outcome) {
  switch (outcome) {
    case LoadOutcome::Loaded:
      return true;
    case LoadOutcome::Missing:
      console.err << "orrindale-admin: cannot open the data file " << vSession.dataFilePath
                  << ": it is missing or not readable (\"orrindale-admin init\" makes one)\n";
      return false;
    case LoadOutcome::NotADataFile:
      console.err << "orrindale-admin: " << vSession.dataFilePath
                  << " is not a whole data file; it was left as it is (\"orrindale-admin repair\" shows what "
                     "can be read of it and writes that back on request; \"orrindale-admin init --force\" "
                     "replaces it with a fresh one)\n";
      return false;
    case LoadOutcome::NoGuard:
      console.err << noGuardText;
      return false;
  }
  return false;
}

bool saveForCommand(Console& console, SaveOver over, const std::vector<std::string>& done) {
  const bool whole = over == SaveOver::AnyContent;
  const SaveOutcome saved = vHome.saveForTool(whole ? cellsOf(vTable, 1) : changedCells(vAsRead, vTable), whole, done);
  switch (saved.kind) {
    case SaveOutcome::Saved:
      return true;
    case SaveOutcome::Silent:
      console.err << noGuardText;
      return false;
    case SaveOutcome::NotAdministrator:
      console.err << "orrindale-admin: only an administrator may change the table of a protected install (run the "
                     "command prompt as administrator); nothing was changed\n";
      return false;
    case SaveOutcome::WrongPassword:
    case SaveOutcome::NotKept:
      break;
  }
  console.err << "orrindale-admin: " << saved.why << "\n";
  return false;
}

void confirm(Console& console, const std::vector<std::string>& done) {
  // Where the table lives has logged what it was handed.
  for (const std::string& sentence : done)
    console.out << sentence << "\n";
}

int changeTable(Console& console, const std::function<Change()>& change) {
  if (!loadForCommand(console))
    return kExitFile;
  const Change result = change();
  if (!result.refusal.empty()) {
    console.err << "orrindale-admin: " << result.refusal << "; nothing was changed\n";
    return kExitUsage;
  }
  if (!saveForCommand(console, SaveOver::WholeDataFileOnly, result.done))
    return kExitFile;
  confirm(console, result.done);
  return kExitDone;
}

void reportLockTimeOutOn(TextWriter& err) {
  vLockReport = &err;
  r_lockGaveUp = lockGaveUp;
}
