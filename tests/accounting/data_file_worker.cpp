// One of several processes that load, check, change and save the same data file, as
// copies of the program in different logon sessions do. Usage: worker FILE NAME CYCLES [N];
// with N, the worker is killed at its write call after the N-th, as a crash would end it.
// Every save stamps all 105 fields with the hash marker and "NAME:cycle:"; every load must
// find one stamp throughout. Exit status 0 when every load was whole, 2 otherwise.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "accounting/data_file/data_file.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "runtime/clock.h"
#include "runtime/file_faults.h"

namespace {

// Retries a busy lock after a millisecond and never gives up: here the lock is meant to
// be busy all the time.
long long frozenSeconds() {
  return 0;
}
void shortSleep(int) {
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool wholeTable(std::string& problem) {
  const auto fields = fieldsInFileOrder(vTable);
  const std::string stamp = fields[0]->substr(0, fields[0]->rfind(':') + 1);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string expected = stamp + std::to_string(i);
    // Saves pad their fields to varying lengths, so the text after the index is padding.
    if (fields[i]->compare(0, expected.size(), expected) != 0) {
      problem = "field " + std::to_string(i) + " is '" + *fields[i] + "', expected '" + expected + "'";
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5)
    return 64;
  if (argc == 5)
    rt::injectFileFaults({.writeCallsBeforeKill = std::atoi(argv[4])});
  rt::ClockRoutines clock = rt::systemClock();
  clock.seconds = frozenSeconds;
  clock.sleepSeconds = shortSleep;
  rt::setClock(clock);
  vSession.dataFilePath = argv[1];
  vSession.logPath = std::string(argv[1]) + ".log";
  const std::string name = argv[2];
  const int cycles = std::atoi(argv[3]);

  for (int cycle = 1; cycle <= cycles; ++cycle) {
    if (LoadData() < 105) {
      std::fprintf(stderr, "%s: cycle %d: short load\n", name.c_str(), cycle);
      return 2;
    }
    std::string problem;
    if (!wholeTable(problem)) {
      std::fprintf(stderr, "%s: cycle %d: %s\n", name.c_str(), cycle, problem.c_str());
      return 2;
    }
    const auto fields = fieldsInFileOrder(vTable);
    // Long, varying padding: the file spans several read buffers, and shorter saves leave
    // stale bytes behind the table.
    const std::string padding(60 + (cycle * 7 + argv[2][1]) % 61, '.');
    // Begun with the hash marker, line 1 is saved as it is, stamp and all, and no save waits
    // for a hash.
    const std::string stamp = std::string(kPasswordHashMarker) + name + ":" + std::to_string(cycle) + ":";
    for (std::size_t i = 0; i < fields.size(); ++i)
      *fields[i] = stamp + std::to_string(i) + padding;
    SaveData();
  }
  return 0;
}
