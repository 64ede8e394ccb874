// The administration tool's report command: reads the activity log, never the data file, and
// prints the runs, log-offs, guard work and requests for more time per account and day, as text or
// as JSON.
#include <chrono>
#include <cstdio>

#include "accounting/log/log_report.h"
#include "accounting/table/usage_table.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/command_line.h"
#include "runtime/clock.h"

namespace {
constexpr int kDefaultDays = 7;
// Ten years: more can only be a typing mistake.
constexpr int kMostDays = 3660;

// Whole decimal digits from 1 to kMostDays.
bool readDays(const std::string& text, int& days) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  days = std::stoi(text);
  return days >= 1 && days <= kMostDays;
}

// The whole file as it is on the disk; false when it cannot be opened or read.
bool readWhole(const std::string& path, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  char buffer[16384];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text.append(buffer, got);
  const bool read = !std::ferror(file);
  std::fclose(file);
  return read;
}

// Reads the activity log only: the report never changes it, and never needs the data file.
int report(const Invocation& call) {
  Console& console = *call.console;
  int days = kDefaultDays;
  if (call.has("--days") && !readDays(call.value("--days"), days))
    return refuseUsage(call, "--days takes a whole number of days from 1 to " + std::to_string(kMostDays));
  std::string text;
  if (!readWhole(vSession.logPath, text)) {
    console.err << "orrindale-admin: cannot read the activity log " << vSession.logPath << "\n";
    return kExitFile;
  }
  const rt::LocalTime now = rt::localNow();
  const std::chrono::year_month_day today{std::chrono::year(now.year), std::chrono::month(now.month),
                                          std::chrono::day(now.day)};
  const LogReport built = buildLogReport(text, today, days);
  console.out << (call.has("--json") ? reportJson(built) : reportText(built));
  return kExitDone;
}
}  // namespace

void addReportCommands(std::vector<AdminCommand>& table) {
  table.push_back({"report",
                   "[--days N] [--json]",
                   "per account and day from the activity log: starts, orderly ends, copies ended otherwise, "
                   "clocks moved back, log-offs at zero, refused accounts, the guard's work and the minutes asked "
                   "for, granted, refused and expired unanswered (N days, default 7)",
                   0,
                   0,
                   {{"--days", "N"}, {"--json", ""}},
                   report});
}
