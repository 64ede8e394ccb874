#include "admin/table_file.h"

#include "accounting/data_file.h"
#include "accounting/guard_link.h"
#include "accounting/table_rules.h"
#include "accounting/usage_table.h"
#include "admin/admin.h"
#include "admin/admin_log.h"

namespace {
TextWriter* vLockReport = nullptr;
// In a protected install: the table as the guard gave it, so that only what a command changed
// goes back; and line 1's state, which the guard never sends.
UsageTable vAsRead;
std::string vGuardPasswordState;

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
  if (vSession.guarded) {
    const std::optional<GuardAnswer> answer = askGuard(guardRequest(GuardVerb::Read));
    if (!answer)
      return LoadOutcome::NoGuard;
    if (!answer->ok())
      return LoadOutcome::NotADataFile;
    applyCells(vTable, answer->cells);
    vAsRead = vTable;
    vGuardPasswordState = answer->passwordState;
    return LoadOutcome::Loaded;
  }
  if (LoadData() != -1)
    return LoadOutcome::Loaded;
  return lastLoadProblem() == LoadProblem::Damaged ? LoadOutcome::NotADataFile : LoadOutcome::Missing;
}

std::string loadedPasswordState() {
  return vSession.guarded ? vGuardPasswordState : passwordState(vTable.password);
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

namespace {
// The command's changes, and what it did for the log, handed to the guard.
bool saveThroughGuard(Console& console, SaveOver over, const std::vector<std::string>& done) {
  GuardRequest request = guardRequest(GuardVerb::Tool);
  request.wholeTable = over == SaveOver::AnyContent;
  request.cells = request.wholeTable ? cellsOf(vTable, 1) : changedCells(vAsRead, vTable);
  request.lines = done;
  const std::optional<GuardAnswer> answer = askGuard(request);
  if (answer && answer->ok())
    return true;
  if (!answer)
    console.err << noGuardText;
  else if (answer->refusal == Refusal::NotAdministrator)
    console.err << "orrindale-admin: only an administrator may change the table of a protected install (run the "
                   "command prompt as administrator); nothing was changed\n";
  else
    console.err << "orrindale-admin: the guard service did not keep the change (" << refusalWord(answer->refusal)
                << "); the activity log says more\n";
  return false;
}
}  // namespace

bool saveForCommand(Console& console, SaveOver over, const std::vector<std::string>& done) {
  if (vSession.guarded)
    return saveThroughGuard(console, over, done);
  if (over == SaveOver::AnyContent ? RewriteDataFile() : SaveData())
    return true;
  console.err << "orrindale-admin: the data file " << vSession.dataFilePath
              << " could not be written; the activity log " << vSession.logPath << " says more\n";
  return false;
}

void confirm(Console& console, const std::vector<std::string>& done) {
  for (const std::string& sentence : done) {
    // The guard has logged what it was handed.
    if (!vSession.guarded)
      logAdminChange(sentence);
    console.out << sentence << "\n";
  }
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
