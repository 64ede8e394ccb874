#include "accounting/data_file/hours_file.h"

#include <functional>

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

bool lock(rt::TextFile& file, LockWait wait) {
  return wait == LockWait::TryOnce ? file.tryLockExclusive() : LockDataFile(file) == 1;
}

// The open file's text, lines ending in "\n"; false when reading failed.
bool readOpen(rt::TextFile& file, std::string& text) {
  text.clear();
  std::string line;
  for (int count = 0; count < kMostLinesRead && file.readLine(line); ++count)
    text += line + "\n";
  return !file.readFailed();
}

// The file's text; false when it could not be opened, locked or read.
bool readText(const std::string& path, LockWait wait, std::string& text, bool& missing) {
  rt::TextFile file(path, rt::OpenMode::Read);
  missing = file.missing();
  text.clear();
  return file.isOpen() && lock(file, wait) && readOpen(file, text);
}

// The book of the text; damage is logged, once until a sound read.
bool readBook(const std::string& text, HoursBook& book) {
  // An empty file is not what a save leaves: it was emptied, and fails closed like any damage.
  if (readHoursBook(text.empty() ? std::string_view("\n") : text, book)) {
    vDamageLogged = false;
    return true;
  }
  if (!vDamageLogged)
    WriteLog(kHoursFileDamagedLine + hoursFileBeside(vSession.dataFilePath) + kLineStars);
  vDamageLogged = true;
  return false;
}

// Reads the book, changes it and writes it back under one hold of the file's lock, so that what
// another copy kept meanwhile (a request) is never written over. A change that returns false
// writes nothing. A missing file is an empty book and is made; a damaged one is what could be read.
// After the write, still under the lock, the step `then` runs: when it fails, the file's text as
// read is written back (PutBack), or stays changed when even that fails (NotPutBack).
enum class Changed { Written, Declined, NotWritten, PutBack, NotPutBack };
Changed changeHoursFile(const std::function<bool(HoursBook&)>& change, const std::function<bool()>& then = {}) {
  const std::string path = hoursFileBeside(vSession.dataFilePath);
  // Append makes the file when there is none and leaves one that is there as it is.
  const bool existed = rt::TextFile(path, rt::OpenMode::Read).isOpen();
  if (!existed && !rt::TextFile(path, rt::OpenMode::Append).isOpen()) {
    WriteLog("Could not write file " + path);
    return Changed::NotWritten;
  }
  rt::TextFile file(path, rt::OpenMode::Update);
  std::string text;
  if (!file.isOpen() || !lock(file, LockWait::RetryThenEnd) || !readOpen(file, text)) {
    WriteLog("Could not read file " + path);
    return Changed::NotWritten;
  }
  // A file another process made meanwhile holds what it wrote; one made here is still empty.
  const bool madeHere = !existed && text.empty();
  HoursBook book;
  if (!madeHere)
    readBook(text, book);
  if (!change(book)) {
    // Left empty, the file made here would read as damaged.
    if (madeHere)
      file.replaceContent(hoursBookText(book));
    return Changed::Declined;
  }
  if (!file.replaceContent(hoursBookText(book))) {
    WriteLog("Could not write file " + path);
    return Changed::NotWritten;
  }
  if (!then || then())
    return Changed::Written;
  if (file.replaceContent(madeHere ? hoursBookText(HoursBook{}) : text))
    return Changed::PutBack;
  WriteLog("Could not write file " + path);
  return Changed::NotPutBack;
}

void writeBookLines(const std::vector<BookLine>& lines) {
  for (const BookLine& line : lines)
    WriteLogAs(line.account.empty() ? vSession.userName : line.account, line.message);
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
  if (readBook(text, book))
    return {};
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

namespace {
// One account's hours, or the default's, over the file as it is now (a damaged one is written
// sound with what could be read of it), and the line that says so.
SaveOutcome setHoursInFile(const std::string& account, const AllowedHours& hours, const std::string& line) {
  const Changed changed = changeHoursFile([&](HoursBook& book) {
    setHoursInBook(book, account, hours);
    return true;
  });
  if (changed != Changed::Written)
    return notWritten();
  WriteLog(line);
  return {};
}
}  // namespace

SaveOutcome saveHoursInFile(const std::string& account, const AllowedHours& hours, const std::string& done) {
  return setHoursInFile(account, hours, "Admin tool - " + done);
}

// The gate has read line 1 here already: the password is not asked again.
SaveOutcome saveSupervisorHoursInFile(const std::string& account,
                                      const AllowedHours& hours,
                                      const std::string& done,
                                      const std::string&) {
  return setHoursInFile(account, hours, "Administration window - " + done);
}

std::string askForTimeInFile(int minutes, const std::string& note, int& number) {
  MakeTimeStamp();
  std::vector<BookLine> logged;
  std::string refusal;
  const Changed changed = changeHoursFile([&](HoursBook& book) {
    refusal = askInBook(book, vSession.userName, minutes, note, vStamp, rt::secondsNow(), number, logged);
    return refusal.empty();
  });
  if (changed == Changed::NotWritten)
    return "the request could not be kept";
  if (changed == Changed::Written)
    writeBookLines(logged);
  return refusal;
}

// The request is answered in the hours file before its minutes go into the table, under the
// hours file's lock: when the table cannot be written the hours file is put back (the request
// open again), and when even that fails the request stays answered without its minutes. Either
// way an approval never gives its minutes twice, nor minutes no answer accounts for.
SaveOutcome answerRequestInFile(int number, int minutes, std::vector<std::string>& done) {
  if (LoadData() == -1)
    return {SaveOutcome::NotKept, "the data file " + vSession.dataFilePath + " could not be read; nothing changed"};
  MakeTimeStamp();
  std::vector<BookLine> logged;
  std::string refusal;
  TimeRequest answered;
  const Changed changed = changeHoursFile(
      [&](HoursBook& book) {
        refusal = answerInBook(book, vTable, number, minutes, vStamp, rt::secondsNow(), done, logged);
        if (refusal.empty())
          answered = *findRequest(book.requests, number);
        return refusal.empty();
      },
      [&] { return minutes == 0 || SaveData(); });
  const std::string tableNotWritten = "the data file " + vSession.dataFilePath + " could not be written";
  switch (changed) {
    case Changed::Written:
      writeBookLines(logged);
      return {};
    case Changed::Declined:
      return {SaveOutcome::NotKept, refusal};
    case Changed::NotWritten:
      return notWritten();
    case Changed::PutBack:
      return {SaveOutcome::NotKept, tableNotWritten + "; nothing changed"};
    case Changed::NotPutBack:
      break;
  }
  const std::string byHand = approvedWithoutMinutes(answered, done, logged);
  writeBookLines(logged);
  return {SaveOutcome::NotKept, tableNotWritten + ", nor the request put back: " + byHand};
}
