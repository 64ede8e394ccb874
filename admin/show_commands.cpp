// The administration tool's show command: the data file's table (slots, default allowances,
// Allow New Users, whether a password is set) as text, or as JSON with --json.
#include "accounting/table/usage_table.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/command_line.h"
#include "admin/table_file.h"
#include "admin/table_print.h"

namespace {
int show(const Invocation& call) {
  if (!loadForCommand(*call.console))
    return kExitFile;
  if (call.has("--json"))
    printTableJson(call.console->out, vTable, vSession.dataFilePath, loadedPasswordState());
  else
    printTableText(call.console->out, vTable, vSession.dataFilePath, loadedPasswordState());
  return kExitDone;
}
}  // namespace

void addShowCommands(std::vector<AdminCommand>& table) {
  table.push_back({"show",
                   "[--json]",
                   "the six slots, the default allowances, Allow New Users and whether a password is set",
                   0,
                   0,
                   {{"--json", ""}},
                   show});
}
