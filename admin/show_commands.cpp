// The administration tool's show command: the data file's table (slots, default allowances,
// Allow New Users, whether a password is set) and the allowed hours of its accounts and the
// default, as text, or as JSON with --json.
#include "accounting/hours/hours_book.h"
#include "accounting/log/json_text.h"
#include "accounting/table/table_home.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/command_line.h"
#include "admin/table_file.h"
#include "admin/table_print.h"

namespace {
// The accounts of the table, each once, with the hours each has.
std::vector<std::string> accountsOf(const UsageTable& table) {
  std::vector<std::string> accounts;
  for (int slot = 1; slot <= kUserSlots; ++slot)
    if (const std::string& account = table.user(slot).field(kAccount);
        !account.empty() && accountSlot(table, account) == slot)
      accounts.push_back(account);
  return accounts;
}

std::string hoursJson(const AllowedHours& hours) {
  std::string text = "{";
  for (int day = 1; day <= kDays; ++day)
    text += std::string(day > 1 ? ", " : "") + "\"" + dayName(day) +
            "\": " + jsonString(hours.damaged ? "damaged" : dayHoursText(hours.day(day)));
  return text + "}";
}

std::string hoursMembers(const HoursLoad& loaded, const HoursBook& book) {
  if (loaded.kind != HoursLoad::Loaded && loaded.kind != HoursLoad::Damaged)
    return "  \"hours\": null,\n";
  std::string text = "  \"hoursDamaged\": " + std::string(book.damaged ? "true" : "false") + ",\n" +
                     "  \"hoursZone\": " + (book.zone ? jsonString(zoneText(*book.zone)) : "null") + ",\n" +
                     "  \"defaultHours\": " + hoursJson(book.defaults) + ",\n  \"hours\": {";
  bool first = true;
  for (const std::string& account : accountsOf(vTable)) {
    text += std::string(first ? "" : ", ") + jsonString(account) + ": " + hoursJson(hoursOf(book, account));
    first = false;
  }
  return text + "},\n";
}

void printHoursText(TextWriter& out, const HoursLoad& loaded, const HoursBook& book) {
  out << "\nAllowed hours:";
  if (loaded.kind != HoursLoad::Loaded && loaded.kind != HoursLoad::Damaged) {
    out << " unknown: " << (loaded.kind == HoursLoad::Silent ? "the guard service does not answer" : loaded.why)
        << "\n";
    return;
  }
  if (book.damaged)
    out << " DAMAGED: every account is outside its hours until set-hours or set-default-hours writes them again";
  else if (book.zone)
    out << " read in " << zoneText(*book.zone) << ", the zone when they were last set";
  out << "\n";
  const auto printOne = [&](const std::string& whose, const AllowedHours& hours) {
    out << "  " << printable(whose) << ":";
    for (const std::string& line : hoursShowLines(hours))
      out << "  " << line;
    out << "\n";
  };
  printOne("(default)", book.defaults);
  for (const std::string& account : accountsOf(vTable))
    printOne(account, hoursOf(book, account));
}

int show(const Invocation& call) {
  if (!loadForCommand(*call.console))
    return kExitFile;
  HoursBook book;
  const HoursLoad loaded = vHome.loadHours(book);
  if (call.has("--json")) {
    printTableJson(call.console->out, vTable, vSession.dataFilePath, loadedPasswordState(), hoursMembers(loaded, book));
  } else {
    printTableText(call.console->out, vTable, vSession.dataFilePath, loadedPasswordState());
    printHoursText(call.console->out, loaded, book);
  }
  return kExitDone;
}
}  // namespace

void addShowCommands(std::vector<AdminCommand>& table) {
  table.push_back({"show",
                   "[--json]",
                   "the six slots, the default allowances, Allow New Users, whether a password is set, and the "
                   "allowed hours of each account and the default",
                   0,
                   0,
                   {{"--json", ""}},
                   show});
}
