#include "admin/table_file.h"

#include <ostream>

#include "accounting/data_file.h"
#include "accounting/usage_table.h"
#include "admin/admin.h"
#include "admin/admin_log.h"

namespace {
std::ostream* vLockReport = nullptr;

int lockGaveUp() {
  if (vLockReport)
    *vLockReport << "orrindale-admin: the data file " << vSession.dataFilePath
                 << " stayed locked by another program for over a minute; nothing was changed\n"
                 << std::flush;
  return kExitFile;
}
}  // namespace

LoadOutcome loadTable() {
  if (LoadData() != -1)
    return LoadOutcome::Loaded;
  return lastLoadProblem() == LoadProblem::Damaged ? LoadOutcome::NotADataFile : LoadOutcome::Missing;
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
  }
  return false;
}

bool saveForCommand(Console& console, SaveOver over) {
  if (over == SaveOver::AnyContent ? RewriteDataFile() : SaveData())
    return true;
  console.err << "orrindale-admin: the data file " << vSession.dataFilePath
              << " could not be written; the activity log " << vSession.logPath << " says more\n";
  return false;
}

void confirm(Console& console, const std::vector<std::string>& done) {
  for (const std::string& sentence : done) {
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
  if (!saveForCommand(console))
    return kExitFile;
  confirm(console, result.done);
  return kExitDone;
}

void reportLockTimeOutOn(std::ostream& err) {
  vLockReport = &err;
  r_lockGaveUp = lockGaveUp;
}
