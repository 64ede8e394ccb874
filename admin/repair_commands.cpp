// The administration tool's repair command: shows what can still be read of a damaged data
// file, the missing fields filled with the defaults, and writes it back whole only with --yes.
#include "accounting/data_file/data_file.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/command_line.h"
#include "admin/table_file.h"
#include "admin/table_print.h"

namespace {
// A damaged file is never loaded or written over by the program, and every account it limits
// is logged off until the file is whole again. Repair shows what can still be read of it, the
// missing fields filled with the defaults, and writes that back only when told to.
int repair(const Invocation& call) {
  Console& console = *call.console;
  const LoadOutcome outcome = loadTable();
  if (outcome == LoadOutcome::Loaded) {
    console.out << vSession.dataFilePath << " is a whole data file; there is nothing to repair\n";
    return kExitDone;
  }
  if (outcome != LoadOutcome::NotADataFile)
    return explainLoad(console, outcome) ? kExitDone : kExitFile;
  InstallDefaults();
  const int kept = LoadDamagedData();
  if (kept < 0)
    return explainLoad(console, LoadOutcome::Missing) ? kExitDone : kExitFile;
  printTableText(console.out, vTable, vSession.dataFilePath, passwordState(vTable.password));
  const std::string done = "damaged data file repaired: " + std::to_string(kept) + " of " +
                           std::to_string(kTableFields) + " fields read back, the rest set to the defaults";
  if (!call.has("--yes")) {
    console.out << "\nThis is what can be read of the damaged file (" << kept << " of " << kTableFields
                << " fields; control characters will be stored as blanks; the rest are the defaults).\n"
                << "Nothing was written. \"orrindale-admin repair --yes\" writes this table over the file;\n"
                << "then check the accounts and allowances, and give a new password with \"orrindale-admin "
                   "set-password\"\nif the old one no longer opens the administration window.\n";
    return kExitDone;
  }
  if (!saveForCommand(console, SaveOver::AnyContent, {done}))
    return kExitFile;
  confirm(console, {done});
  return kExitDone;
}
}  // namespace

void addRepairCommands(std::vector<AdminCommand>& table) {
  table.push_back({"repair",
                   "[--yes]",
                   "shows what can be read of a damaged data file; with --yes writes it back whole",
                   0,
                   0,
                   {{"--yes", ""}},
                   repair});
}
