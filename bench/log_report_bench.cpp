// How long reading the activity log back takes: the supervisor's report over a long log, and
// the program's one look through the log when it first sees a clock moved back. Prints
// milliseconds for a log of 100000 lines.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "accounting/activity_log.h"
#include "accounting/log_report.h"
#include "accounting/usage_table.h"

namespace {
constexpr int kLines = 100000;

template <typename Work>
double millisecondsFor(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count();
}

// Six accounts in test mode: starts, a line per counted minute, log-offs at zero and ends,
// spread over the year.
std::string longLog() {
  std::string log;
  for (int i = 0; i < kLines; ++i) {
    const std::string account = "account" + std::to_string(i % 6);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/2026 %02d:%02d - ", 1 + (i / 6000) % 28, 1 + i / 9000 % 12,
                  (i / 60) % 24, i % 60);
    const int kind = i % 50;
    const std::string message = kind == 0   ? "Process Started - User " + account
                                : kind == 1 ? std::string("**** SYSTEM LOGOFF ****")
                                : kind == 2 ? "Process Ended - User " + account
                                            : "User " + account + ", Time 42";
    log += stamp + account + " - " + message + "\n";
  }
  return log;
}
}  // namespace

int main() {
  const std::string log = longLog();
  const std::chrono::year_month_day today{std::chrono::year{2026}, std::chrono::December, std::chrono::day{31}};
  LogReport report;
  std::string text;
  std::printf("report of %d lines        %8.1f ms\n", kLines, millisecondsFor([&] {
                report = buildLogReport(log, today, 0);
                text = reportText(report);
              }));
  std::printf("  (%zu rows, %zu bytes of text)\n", report.rows.size(), text.size());

  vSession.logPath = (std::filesystem::temp_directory_path() / "orrindale-report-bench.log").string();
  {
    std::FILE* file = std::fopen(vSession.logPath.c_str(), "w");
    std::fwrite(log.data(), 1, log.size(), file);
    std::fclose(file);
  }
  vSession.userName = "account1";
  std::printf("look for a line not there %8.1f ms\n",
              millisecondsFor([] { logHolds("**** CLOCK MOVED BACK from 01/01/2027 00:00 ****"); }));
  std::filesystem::remove(vSession.logPath);
  return 0;
}
