// Feeds any bytes to the loader and the minute tick as the data file, and checks what must
// hold for every file: a file is either loaded line for line or refused and left byte for
// byte; a tick changes only the current user's count, date and machine, and the save a
// password stored as typed into its hash; a reload gives back exactly what was saved. A broken
// rule aborts, which the fuzzer reports with the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/file_home.h"
#include "accounting/log/activity_log.h"
#include "accounting/program/minute_tick.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "runtime/clock.h"
#include "runtime/crypto_faults.h"

namespace {

long long vNow = 0;
rt::LocalTime simLocalNow() {
  return rt::calendarTime(vNow);
}
long long simSeconds() {
  return vNow;
}
void noSleep(int) {}

void check(bool holds, const char* rule) {
  if (!holds) {
    std::fprintf(stderr, "broken: %s\n", rule);
    std::abort();
  }
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> tableFields() {
  std::vector<std::string> fields;
  for (const std::string* field : fieldsInFileOrder(std::as_const(vTable)))
    fields.push_back(*field);
  return fields;
}

// The first lines of the bytes, unscrambled, worked out apart from the loader.
std::vector<std::string> firstLines(const std::string& bytes, std::size_t count) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (lines.size() < count && start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    for (char& c : line)
      c = static_cast<char>(c ^ scrambleByte());
    lines.push_back(line);
    start = end == std::string::npos ? bytes.size() : end + 1;
  }
  return lines;
}

// A hash takes about 0.1 s, hundreds of times the rest of a round. The default password is
// hashed once, and then the platform's crypto is switched off: a line 1 holding the default
// password is saved as this hash (the same text hashed again in a row gives the kept hash), and
// any other text as it was, as on a system without the crypto.
const std::string& defaultPasswordHash() {
  static const std::string hashed = hashPassword(kDefaultPassword);
  return hashed;
}

void start(const std::string& path, std::size_t inputSize) {
  InstallDefaults();
  vTable.password = defaultPasswordHash();
  rt::injectCryptoFailure(true);
  resetSession();
  vHome = kDataFileHome;  // as start-up chooses outside a protected install
  vSession.dataFilePath = path;
  vSession.logPath = "";    // no log: a path that cannot be opened drops every line
  vSession.debugLevel = 2;  // test mode: the log-off is only logged
  vSession.machineName = "FUZZBOX";
  // A day of December 2026 picked by the input's size: the stored dates are then the same day,
  // a day before or after it, or far from it.
  vNow = rt::secondsOf(2026, 12, 1 + static_cast<int>(inputSize % 28), 9, 5);
  rt::ClockRoutines clock = rt::systemClock();
  clock.localNow = simLocalNow;
  clock.seconds = simSeconds;
  clock.sleepSeconds = noSleep;
  clock.universalSeconds = simSeconds;
  rt::setClock(clock);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("orrindale-fuzz-" + std::to_string(::getpid()) + ".dat")).string();
  const std::string input(reinterpret_cast<const char*>(data), size);
  writeBytes(path, input);
  start(path, size);
  vSession.currentUser = 1 + static_cast<int>(size % kUserSlots);

  // The tick loads the file first; what it found decides what must hold.
  DoEachMin();
  if (lastLoadProblem() != LoadProblem::None) {
    check(lastLoadProblem() == LoadProblem::Damaged, "a file that is there loads or is damaged");
    check(tableFields()[0] == defaultPasswordHash(), "a refused file leaves the table as it was");
    check(!SaveData(), "a damaged file is never saved over");
    check(readBytes(path) == input, "a damaged file is left byte for byte");
    return 0;
  }
  const std::vector<std::string> loaded = firstLines(input, kTableFields);
  const std::vector<std::string> saved = tableFields();
  const std::size_t firstOfUser = 1 + kDays + kOptions + (vSession.currentUser - 1) * kUserFields;
  check(saved[0] == (loaded[0] == kDefaultPassword ? defaultPasswordHash() : loaded[0]),
        "line 1 is saved as its hash, or as it was when it holds a hash or cannot be hashed");
  for (std::size_t i = 1; i < saved.size(); ++i) {
    const bool countedField = i >= firstOfUser + kMinutesLeft - 1 && i <= firstOfUser + kMachine - 1;
    check(countedField || saved[i] == loaded[i],
          "the table holds the file's lines, and a tick changes only the user's fields 2 to 8");
  }
  check(vSession.minutesLeft >= 0, "minutes left never go below zero");

  InstallDefaults();
  check(LoadData() == kTableFields, "a saved file has 105 lines");
  check(tableFields() == saved, "the reload equals what was saved");
  return 0;
}
