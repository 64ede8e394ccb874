#include "accounting/data_file/data_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "accounting/log/activity_log.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "runtime/clock.h"
#include "runtime/file.h"
#include "runtime/processes.h"

namespace {
// The first value this seed draws has 0x15 in its low byte. Any byte below 0x20 keeps
// every character from 0x20 to 0xFF at 0x20 or above, so a scrambled field never holds
// a line end, a NUL or the 0x1A that ends a text-mode read on Windows.
constexpr std::uint32_t kScrambleSeed = 44;

constexpr int kMostLinesRead = 30000;
constexpr int kLockRetrySeconds = 5;
constexpr int kLockGiveUpSeconds = 60;

int programLockGaveUp() {
  return 1;
}

// A small linear congruential generator: the sequence must never change, or files
// written by one build could not be read by another.
struct ScrambleGenerator {
  std::uint32_t state;
  unsigned char next() {
    state = state * 1103515245u + 12345u;
    return static_cast<unsigned char>(state >> 16);
  }
};
}  // namespace

int (*r_lockGaveUp)() = programLockGaveUp;

std::string ScrambleText(const std::string& text) {
  ScrambleGenerator generator{kScrambleSeed};
  std::string result = text;
  for (char& c : result)
    c = static_cast<char>(c ^ generator.next());
  return result;
}

unsigned char scrambleByte() {
  return static_cast<unsigned char>(ScrambleText(std::string(1, '\0'))[0]);
}

int LockDataFile(rt::TextFile& file) {
  const long long start = rt::secondsNow();
  while (!file.tryLockExclusive()) {
    WriteLog("Warning - Could not lock file");
    if (rt::secondsNow() - start > kLockGiveUpSeconds) {
      WriteLog("Error - file lock failed");
      rt::exitProcess(r_lockGaveUp());
    }
    rt::sleepSeconds(kLockRetrySeconds);
  }
  return 1;
}

namespace {
LoadProblem vLastLoadProblem = LoadProblem::None;

// The first lines of an open data file, unscrambled, and how many lines it has (counted up
// to a limit, so that a huge foreign file is not read to its end).
struct FileLines {
  std::vector<std::string> fields;
  int count = 0;
  bool readFailed = false;
};

FileLines readLines(rt::TextFile& file) {
  FileLines lines;
  const unsigned char key = scrambleByte();
  std::string line;
  while (lines.count < kMostLinesRead && file.readLine(line)) {
    if (lines.count < kTableFields) {
      for (char& c : line)
        c = static_cast<char>(c ^ key);
      lines.fields.push_back(line);
    }
    ++lines.count;
  }
  lines.readFailed = file.readFailed();
  return lines;
}

// A save writes a line for every field and never a control byte in one (see storable), so a
// file with fewer lines, or with such a byte among them, was cut short, emptied or replaced.
// Loading it would blank the missing fields, and the next save would make that for good.
bool isWholeDataFile(const FileLines& lines) {
  if (lines.count < kTableFields)
    return false;
  return std::none_of(lines.fields.begin(), lines.fields.end(), [](const std::string& field) {
    return std::any_of(field.begin(), field.end(), [](char c) { return storable(c) != c; });
  });
}

void logDamaged() {
  WriteLog("Data file " + vSession.dataFilePath + " is damaged - not loaded and not written over");
}

// Whether the last attempt to hash a password stored as typed failed: the failure is logged
// once, not at every minute's save, until a hash works again.
bool vPasswordHashFailed = false;

// A password stored as typed can be read by every account that can read the file; it is
// replaced by its hash before the table is written. Without the platform's crypto it stays as
// it was: keeping the minutes counted matters more.
void hashPasswordStoredAsTyped() {
  if (isPasswordHash(vTable.password))
    return;
  const std::string hashed = hashPassword(vTable.password);
  if (hashed.empty() && !vPasswordHashFailed)
    WriteLog("Could not hash the supervisor password - kept as it was");
  vPasswordHashFailed = hashed.empty();
  if (!hashed.empty())
    vTable.password = hashed;
}

// Hashes the password first: it runs before the file is locked, so the other copies of the
// program do not wait for the hash.
std::string tableText() {
  hashPasswordStoredAsTyped();
  const unsigned char key = scrambleByte();
  std::string text;
  for (const std::string* field : fieldsInFileOrder(std::as_const(vTable))) {
    for (char c : *field)
      text += static_cast<char>(storable(c) ^ key);
    text += '\n';
  }
  return text;
}

enum class Overwrite { WholeDataFileOnly, AnyContent };

// Looked at under the lock: another copy, or a hand from outside, may have changed the file
// since this process last loaded it. What could not be read is not written over either.
bool mayOverwrite(rt::TextFile& file, Overwrite overwrite) {
  if (overwrite == Overwrite::AnyContent)
    return true;
  const FileLines present = readLines(file);
  if (present.readFailed)
    return false;
  if (!isWholeDataFile(present)) {
    logDamaged();
    return false;
  }
  return true;
}

bool writeText(const std::string& text, Overwrite overwrite, LockWait wait) {
  rt::TextFile file(vSession.dataFilePath, rt::OpenMode::Update);
  if (!file.isOpen()) {
    WriteLog("Could not find file " + vSession.dataFilePath + " to write to");
    return false;
  }
  if (wait == LockWait::TryOnce) {
    if (!file.tryLockExclusive()) {
      WriteLog("Could not write file " + vSession.dataFilePath + " - another program holds it locked");
      return false;
    }
  } else {
    LockDataFile(file);
  }
  const bool written = mayOverwrite(file, overwrite) && file.replaceContent(text);
  if (!written)
    WriteLog("Could not write file " + vSession.dataFilePath);
  file.unlock();
  file.close();
  return written;
}
}  // namespace

LoadProblem readDataFile(std::vector<std::string>& fields, LockWait wait, int* lineCount) {
  rt::TextFile file(vSession.dataFilePath, rt::OpenMode::Read);
  if (!file.isOpen()) {
    WriteLog("Could not find file " + vSession.dataFilePath + " to read from");
    return file.missing() ? LoadProblem::Missing : LoadProblem::CannotOpen;
  }
  if (wait == LockWait::TryOnce) {
    if (!file.tryLockExclusive())
      return LoadProblem::Locked;
  } else {
    LockDataFile(file);
  }
  FileLines lines = readLines(file);
  file.close();
  if (lines.readFailed) {
    WriteLog("Could not read file " + vSession.dataFilePath);
    return LoadProblem::CannotRead;
  }
  if (!isWholeDataFile(lines)) {
    logDamaged();
    return LoadProblem::Damaged;
  }
  fields = std::move(lines.fields);
  if (lineCount)
    *lineCount = lines.count;
  return LoadProblem::None;
}

int LoadData(LockWait wait) {
  std::vector<std::string> read;
  int lines = 0;
  vLastLoadProblem = readDataFile(read, wait, &lines);
  if (vLastLoadProblem != LoadProblem::None)
    return -1;
  const std::vector<std::string*> fields = fieldsInFileOrder(vTable);
  for (std::size_t i = 0; i < fields.size(); ++i)
    *fields[i] = read[i];
  return lines;
}

int LoadDamagedData() {
  rt::TextFile file(vSession.dataFilePath, rt::OpenMode::Read);
  if (!file.isOpen())
    return -1;
  LockDataFile(file);
  const FileLines lines = readLines(file);
  file.close();
  const std::vector<std::string*> fields = fieldsInFileOrder(vTable);
  for (std::size_t i = 0; i < lines.fields.size(); ++i)
    *fields[i] = lines.fields[i];
  return static_cast<int>(lines.fields.size());
}

LoadProblem lastLoadProblem() {
  return vLastLoadProblem;
}

bool SaveData(LockWait wait) {
  return writeText(tableText(), Overwrite::WholeDataFileOnly, wait);
}

bool RewriteDataFile(LockWait wait) {
  return writeText(tableText(), Overwrite::AnyContent, wait);
}

bool WriteDataFile(const std::string& text) {
  return writeText(text, Overwrite::WholeDataFileOnly, LockWait::RetryThenEnd);
}
