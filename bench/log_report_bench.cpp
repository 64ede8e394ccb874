// How long the supervisor's report takes over a long activity log. Prints milliseconds for a
// log of 100000 lines.
#include <chrono>
#include <cstdio>
#include <string>

#include "accounting/log/log_report.h"

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
  return 0;
}
