// Orrindale against the plain program written straight on Win32, under one Wine: start-up to
// the "Process Started" log line and peak working set, each program running alone in turn;
// then the processor time each spends idle, with both of its timers running, all side by side
// over the same stretch. Prints every round, then the medians and each program's ratios to the
// plain one, with the targets.
//
// Usage: startup_bench --account NAME [--file PATH] [--log PATH] [--rounds N]
//                      [--idle-rounds N] [--idle-seconds N] [--program EXE]...
// The account must be in the data file, which is put back as it was before every start. The
// programs are orrindale.exe unless given (several may be, to compare builds), always
// measured against plain_orrindale.exe beside this program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/measured_program.h"

namespace {
constexpr const char* kReadyText = "Process Started";
// After start-up the programs show their tray icons and run their first one-second tick.
constexpr DWORD kSettleMs = 1500;
// After a program has been ended, Wine's desktop and services catch up with it.
constexpr DWORD kAfterEndMs = 500;

struct Options {
  std::string account;
  std::string dataFile = "C:\\Program Files\\Halvard\\HalvardDemo.dat";
  std::string logFile = "C:\\Program Files\\Halvard\\debugDemo.log";
  int rounds = 7;
  int idleRounds = 3;
  int idleSeconds = 30;
  std::vector<std::string> programs;
};

struct Series {
  std::string name;
  std::string path;
  std::vector<double> startupMs, peakBytes, idleNs;
};

double median(std::vector<double> values) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string beside(const std::string& name) {
  if (name.find('\\') != std::string::npos || name.find(':') != std::string::npos)
    return name;
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string self = path;
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

std::string readFile(const std::string& path) {
  std::string text;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
      text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

// Every start counts a minute off the account and logs lines: each one begins from the same
// data file and an empty log.
bool restoreFiles(const Options& options, const std::string& dataFile) {
  std::FILE* file = std::fopen(options.dataFile.c_str(), "wb");
  if (!file)
    return false;
  const bool written = std::fwrite(dataFile.data(), 1, dataFile.size(), file) == dataFile.size();
  std::fclose(file);
  DeleteFileA(options.logFile.c_str());
  return written;
}

std::optional<Options> parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--account")
      options.account = value;
    else if (name == "--file")
      options.dataFile = value;
    else if (name == "--log")
      options.logFile = value;
    else if (name == "--rounds")
      options.rounds = std::atoi(value.c_str());
    else if (name == "--idle-rounds")
      options.idleRounds = std::atoi(value.c_str());
    else if (name == "--idle-seconds")
      options.idleSeconds = std::atoi(value.c_str());
    else if (name == "--program")
      options.programs.push_back(value);
    else
      return std::nullopt;
  }
  if (options.account.empty() || argc % 2 == 0 || options.rounds < 0)
    return std::nullopt;
  if (options.programs.empty())
    options.programs.push_back("orrindale.exe");
  return options;
}

// Starts the program from the data file as it was and waits for its start-up line; records
// how long that took when asked to.
std::unique_ptr<MeasuredProgram> start(const Options& options,
                                       const std::string& dataFile,
                                       Series& series,
                                       const std::string& tag,
                                       bool timed) {
  if (!restoreFiles(options, dataFile)) {
    std::fprintf(stderr, "startup_bench: cannot write %s\n", options.dataFile.c_str());
    return nullptr;
  }
  auto program = std::make_unique<MeasuredProgram>(series.path, options.account, tag);
  const std::optional<double> ready = program->waitForReadyLine(options.logFile, kReadyText);
  if (!ready) {
    std::fprintf(stderr, "startup_bench: %s did not write \"%s\"\n", series.path.c_str(), kReadyText);
    return nullptr;
  }
  if (timed)
    series.startupMs.push_back(*ready);
  return program;
}

void printRatios(const char* what,
                 const std::vector<Series>& all,
                 std::vector<double> Series::*values,
                 const char* unit,
                 double scale,
                 const char* target) {
  const double plain = median(all.back().*values);
  std::printf("%s (%s):\n", what, unit);
  for (const Series& series : all) {
    const double ours = median(series.*values);
    std::printf("  %-24s %9.2f", series.name.c_str(), ours / scale);
    if (&series != &all.back())
      std::printf("   ratio %5.3f  (target %s)", plain > 0 ? ours / plain : 0.0, target);
    std::printf("\n");
  }
}
}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> parsed = parse(argc, argv);
  if (!parsed) {
    std::fprintf(stderr,
                 "usage: startup_bench --account NAME [--file PATH] [--log PATH] [--rounds N] [--idle-rounds N]\n"
                 "                     [--idle-seconds N] [--program EXE]...\n");
    return 2;
  }
  const Options& options = *parsed;
  const std::string dataFile = readFile(options.dataFile);
  if (dataFile.empty()) {
    std::fprintf(stderr, "startup_bench: cannot read %s\n", options.dataFile.c_str());
    return 1;
  }
  std::vector<Series> all;
  for (const std::string& program : options.programs)
    all.push_back({program, beside(program), {}, {}, {}});
  all.push_back({"plain_orrindale.exe", beside("plain_orrindale.exe"), {}, {}, {}});
  const std::size_t count = all.size();

  // Start-up and memory: each program alone, so that it has the machine to itself.
  for (int round = 1; round <= options.rounds; ++round) {
    std::printf("round %d:", round);
    // Each round starts with another program, so that none is always first.
    for (std::size_t step = 0; step < count; ++step) {
      Series& series = all[(round + step) % count];
      const std::string tag = "bench-" + std::to_string(round) + "-" + std::to_string(step) + "-end";
      std::unique_ptr<MeasuredProgram> program = start(options, dataFile, series, tag, true);
      if (!program)
        return 1;
      Sleep(kSettleMs);
      series.peakBytes.push_back(program->peakWorkingSet());
      program.reset();
      Sleep(kAfterEndMs);
    }
    for (const Series& series : all)
      std::printf("  %s %.1f ms %.2f MiB", series.name.c_str(), series.startupMs.back(),
                  series.peakBytes.back() / 1048576);
    std::printf("\n");
    std::fflush(stdout);
  }

  // Idle processor time: all programs side by side over the same stretch. Their timers fire
  // in the order they were started: each round starts with another program, so that none
  // always has the same place in that order.
  for (int round = 1; round <= options.idleRounds; ++round) {
    std::vector<std::unique_ptr<MeasuredProgram>> running(count);
    for (std::size_t step = 0; step < count; ++step) {
      const std::size_t which = (round + step) % count;
      const std::string tag = "bench-idle-" + std::to_string(round) + "-" + std::to_string(which) + "-end";
      running[which] = start(options, dataFile, all[which], tag, false);
      if (!running[which])
        return 1;
    }
    Sleep(kSettleMs);
    std::vector<std::optional<double>> before;
    for (auto& program : running)
      before.push_back(program->runTimeNs());
    Sleep(options.idleSeconds * 1000);
    std::printf("idle round %d:", round);
    for (std::size_t which = 0; which < count; ++which) {
      const std::optional<double> after = running[which]->runTimeNs();
      if (before[which] && after) {
        all[which].idleNs.push_back(*after - *before[which]);
        std::printf("  %s %.2f ms", all[which].name.c_str(), all[which].idleNs.back() / 1e6);
      }
    }
    std::printf("\n");
    std::fflush(stdout);
    running.clear();
    Sleep(kAfterEndMs);
  }
  restoreFiles(options, dataFile);

  std::printf("medians, against the plain Win32 program:\n");
  printRatios("start-up to \"Process Started\"", all, &Series::startupMs, "ms", 1, "<= 1.15, stretch 1.05");
  printRatios("peak working set", all, &Series::peakBytes, "MiB", 1048576, "<= 1.05");
  const bool idleMeasured = std::all_of(all.begin(), all.end(), [](const Series& s) { return !s.idleNs.empty(); });
  if (idleMeasured) {
    const std::string what = "processor time while idle for " + std::to_string(options.idleSeconds) + " s, " +
                             std::to_string(all.front().idleNs.size()) + " rounds";
    printRatios(what.c_str(), all, &Series::idleNs, "ms", 1e6, "<= 1.00");
  } else if (options.idleRounds > 0) {
    std::printf("idle processor time: the Linux processes were not found under Z:\\proc\n");
  }
  return 0;
}
