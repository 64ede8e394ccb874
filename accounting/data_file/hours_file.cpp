#include "accounting/data_file/hours_file.h"

#include "accounting/data_file/data_file.h"
#include "accounting/hours/hours_book.h"
#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/usage_table.h"
#include "runtime/clock.h"
#include "runtime/file.h"

namespace {
constexpr const char* kHoursFileName = "HalvardHours.dat";
// Far more than a save writes (a line per account, the default, extensions, 50 requests).
constexpr int kMostLinesRead = 1000;

// Whether the damage of the file has been logged since it was last read sound.
bool vDamageLogged = false;

SaveOutcome notWritten() {
  return {SaveOutcome::NotKept, "the hours file " + hoursFileBeside(vSession.dataFilePath) +
                                    " could not be written; the activity log " + vSession.logPath + " says more"};
}

// The book as it is now, for a change over it; false after logging when it cannot be read at all.
bool loadForChange(HoursBook& book) {
  const HoursLoad loaded = loadHoursFile(book);
  return loaded.kind == HoursLoad::Loaded || loaded.kind == HoursLoad::Damaged;
}

bool lock(rt::TextFile& file, LockWait wait) {
  return wait == LockWait::TryOnce ? file.tryLockExclusive() : LockDataFile(file) == 1;
}

// The file's text, lines ending in "\n"; false when it could not be opened, locked or read.
bool readText(const std::string& path, LockWait wait, std::string& text, bool& missing) {
  rt::TextFile file(path, rt::OpenMode::Read);
  missing = file.missing();
  text.clear();
  if (!file.isOpen() || !lock(file, wait))
    return false;
  std::string line;
  for (int count = 0; count < kMostLinesRead && file.readLine(line); ++count)
    text += line + "\n";
  return !file.readFailed();
}
}  // namespace

std::string hoursFileBeside(const std::string& dataFile) {
  const std::size_t folderEnd = dataFile.find_last_of("\\/");
  return folderEnd == std::string::npos ? kHoursFileName : dataFile.substr(0, folderEnd + 1) + kHoursFileName;
}

HoursLoad loadHoursFile(HoursBook& book, LockWait wait, std::string* rawText) {
  const std::string path = hoursFileBeside(vSession.dataFilePath);
  std::string text;
  bool missing = false;
  if (!readText(path, wait, text, missing)) {
    if (missing) {
      book = HoursBook{};
      return {};
    }
    return {HoursLoad::NotKept, "the hours file " + path + " could not be read"};
  }
  if (rawText)
    *rawText = text;
  // An empty file is not what a save leaves: it was emptied, and fails closed like any damage.
  if (readHoursBook(text.empty() ? std::string_view("\n") : text, book)) {
    vDamageLogged = false;
    return {};
  }
  if (!vDamageLogged)
    WriteLog(kHoursFileDamagedLine + path + kLineStars);
  vDamageLogged = true;
  return {HoursLoad::Damaged, "the hours file " + path + " is damaged"};
}

bool saveHoursFile(const HoursBook& book, LockWait wait) {
  return writeHoursText(hoursBookText(book), wait);
}

bool writeHoursText(const std::string& text, LockWait wait) {
  const std::string path = hoursFileBeside(vSession.dataFilePath);
  // Append makes the file when there is none and leaves one that is there as it is.
  if (!rt::TextFile(path, rt::OpenMode::Append).isOpen()) {
    WriteLog("Could not write file " + path);
    return false;
  }
  rt::TextFile file(path, rt::OpenMode::Update);
  const bool written = file.isOpen() && lock(file, wait) && file.replaceContent(text);
  if (!written)
    WriteLog("Could not write file " + path);
  return written;
}

bool hoursFileHolds(const std::string& expected) {
  std::string text;
  bool missing = false;
  if (!readText(hoursFileBeside(vSession.dataFilePath), LockWait::TryOnce, text, missing))
    return !missing || expected.empty();
  return text == expected;
}

SaveOutcome saveHoursInFile(const std::string& account, const AllowedHours& hours, const std::string& done) {
  HoursBook book;
  if (!loadForChange(book))
    return notWritten();
  (account.empty() ? book.defaults : book.accounts[account]) = hours;
  book.damaged = false;
  if (!saveHoursFile(book))
    return notWritten();
  WriteLog("Admin tool - " + done);
  return {};
}

std::string askForTimeInFile(int minutes, const std::string& note, int& number) {
  HoursBook book;
  if (!loadForChange(book))
    return "the request could not be kept";
  MakeTimeStamp();
  std::vector<std::string> logged;
  const std::string refusal =
      askInBook(book, vSession.userName, minutes, note, vStamp, rt::secondsNow(), number, logged);
  if (refusal.empty() && !saveHoursFile(book))
    return "the request could not be kept";
  if (refusal.empty())
    for (const std::string& line : logged)
      WriteLog(line);
  return refusal;
}

// The table is saved before the hours: when the second save fails the minutes are already given
// and the request stays open, which the supervisor is told; the other order could lose them.
SaveOutcome answerRequestInFile(int number, int minutes, std::vector<std::string>& done) {
  HoursBook book;
  if (LoadData() == -1 || !loadForChange(book))
    return notWritten();
  MakeTimeStamp();
  std::vector<std::string> logged;
  const std::string refusal = answerInBook(book, vTable, number, minutes, vStamp, rt::secondsNow(), done, logged);
  if (!refusal.empty())
    return {SaveOutcome::NotKept, refusal};
  if (minutes > 0 && !SaveData())
    return {SaveOutcome::NotKept, "the data file " + vSession.dataFilePath + " could not be written; nothing changed"};
  if (!saveHoursFile(book))
    return notWritten();
  for (const std::string& line : logged)
    WriteLog(line);
  return {};
}
