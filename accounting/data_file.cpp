#include "accounting/data_file.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "accounting/activity_log.h"
#include "accounting/usage_table.h"
#include "runtime/clock.h"
#include "runtime/file.h"
#include "runtime/process.h"

namespace {
// The first value this seed draws has 0x15 in its low byte. Any byte below 0x20 keeps
// every character from 0x20 to 0xFF at 0x20 or above, so a scrambled field never holds
// a line end, a NUL or the 0x1A that ends a text-mode read on Windows.
constexpr std::uint32_t kScrambleSeed = 44;

constexpr int kBufferLines = 200;
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

// Control bytes would break the line structure of the file (a line feed in a field shifts
// every later field), so they are stored as blanks.
char storable(char c) {
  return static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
}
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

int LoadData(LockWait wait) {
  std::vector<std::string> buffer(kBufferLines);
  rt::TextFile file(vSession.dataFilePath, rt::OpenMode::Read);
  if (!file.isOpen()) {
    WriteLog("Could not find file " + vSession.dataFilePath + " to read from");
    return -1;
  }
  if (wait == LockWait::TryOnce) {
    if (!file.tryLockExclusive())
      return kDataFileLocked;
  } else {
    LockDataFile(file);
  }
  const unsigned char key = scrambleByte();
  int linesRead = 0;
  std::string line;
  while (linesRead < kMostLinesRead && file.readLine(line)) {
    if (linesRead < kBufferLines) {
      for (char& c : line)
        c = static_cast<char>(c ^ key);
      buffer[linesRead] = line;
    }
    ++linesRead;
  }
  file.close();

  const std::vector<std::string*> fields = fieldsInFileOrder(vTable);
  for (std::size_t i = 0; i < fields.size(); ++i)
    *fields[i] = buffer[i];
  return linesRead;
}

bool SaveData() {
  const unsigned char key = scrambleByte();
  std::string text;
  for (const std::string* field : fieldsInFileOrder(std::as_const(vTable))) {
    for (char c : *field)
      text += static_cast<char>(storable(c) ^ key);
    text += '\n';
  }
  return WriteDataFile(text);
}

bool WriteDataFile(const std::string& text) {
  rt::TextFile file(vSession.dataFilePath, rt::OpenMode::Update);
  if (!file.isOpen()) {
    WriteLog("Could not find file " + vSession.dataFilePath + " to write to");
    return false;
  }
  LockDataFile(file);
  file.rewind();
  const bool written = file.write(text);
  if (!written)
    WriteLog("Could not write file " + vSession.dataFilePath);
  file.unlock();
  file.close();
  return written;
}
