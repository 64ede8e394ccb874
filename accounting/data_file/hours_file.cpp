#include "accounting/data_file/hours_file.h"

#include "accounting/data_file/data_file.h"
#include "accounting/hours/hours_book.h"
#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/table_rules.h"
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

// Ends the requests of earlier days unanswered; their lines are logged.
void expireOldRequests(HoursBook& book) {
  for (const TimeRequest& expired : expireRequests(book.requests, dateNumber(vStamp), rt::secondsNow()))
    WriteLog(answerLine(expired));
}
}  // namespace

std::string hoursFileBeside(const std::string& dataFile) {
  const std::size_t folderEnd = dataFile.find_last_of("\\/");
  return folderEnd == std::string::npos ? kHoursFileName : dataFile.substr(0, folderEnd + 1) + kHoursFileName;
}

HoursLoad loadHoursFile(HoursBook& book) {
  const std::string path = hoursFileBeside(vSession.dataFilePath);
  rt::TextFile file(path, rt::OpenMode::Read);
  if (!file.isOpen()) {
    if (file.missing()) {
      book = HoursBook{};
      return {};
    }
    return {HoursLoad::NotKept, "the hours file " + path + " cannot be opened"};
  }
  LockDataFile(file);
  std::string text;
  std::string line;
  for (int count = 0; count < kMostLinesRead && file.readLine(line); ++count)
    text += line + "\n";
  const bool readFailed = file.readFailed();
  file.close();
  if (readFailed)
    return {HoursLoad::NotKept, "the hours file " + path + " could not be read"};
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

bool saveHoursFile(const HoursBook& book) {
  const std::string path = hoursFileBeside(vSession.dataFilePath);
  // Append makes the file when there is none and leaves one that is there as it is.
  if (!rt::TextFile(path, rt::OpenMode::Append).isOpen()) {
    WriteLog("Could not write file " + path);
    return false;
  }
  rt::TextFile file(path, rt::OpenMode::Update);
  const bool written = file.isOpen() && LockDataFile(file) && file.replaceContent(hoursBookText(book));
  if (!written)
    WriteLog("Could not write file " + path);
  return written;
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
  expireOldRequests(book);
  const std::string refusal =
      askForTime(book.requests, vSession.userName, minutes, note, dateNumber(vStamp), rt::secondsNow(), number);
  if (!refusal.empty())
    return refusal;
  if (!saveHoursFile(book))
    return "the request could not be kept";
  WriteLog(askedLine(*findRequest(book.requests, number)));
  return "";
}

// The table is saved before the hours: when the second save fails the minutes are already given
// and the request stays open, which the supervisor is told; the other order could lose them.
SaveOutcome answerRequestInFile(int number, int minutes, std::vector<std::string>& done) {
  HoursBook book;
  if (LoadData() == -1 || !loadForChange(book))
    return notWritten();
  MakeTimeStamp();
  const long long now = rt::secondsNow();
  expireOldRequests(book);
  const TimeRequest* asked = findRequest(book.requests, number);
  const std::string account = asked ? asked->account : "";
  const int slot = accountSlot(vTable, account);
  std::string refusal =
      minutes > 0 ? approveRequest(book.requests, number, minutes, now) : refuseRequest(book.requests, number, now);
  if (refusal.empty() && minutes > 0 && slot == 0)
    refusal = "there is no account \"" + account + "\" in the table";
  if (!refusal.empty())
    return {SaveOutcome::NotKept, refusal};
  done = {answerLine(*findRequest(book.requests, number))};
  if (minutes > 0) {
    const int left = grantToday(vTable.user(slot), minutes, vStamp);
    done.push_back(std::to_string(minutes) + " minutes granted to " + account + ", " + std::to_string(left) +
                   " left today");
    const Moment moment = momentOf(vStamp);
    const AllowedHours hours = hoursOf(book, account);
    const HoursExtension current = extensionOf(book, account, moment.date);
    if (!hoursAt(hours, moment, current).inside) {
      const HoursExtension extended = extendedHours(hours, moment, current, minutes);
      if (extended != current) {
        book.extensions[account] = extended;
        done.push_back("hours of " + account + " extended " + extensionText(extended));
      }
    }
    if (!SaveData())
      return {SaveOutcome::NotKept,
              "the data file " + vSession.dataFilePath + " could not be written; nothing changed"};
  }
  if (!saveHoursFile(book))
    return notWritten();
  WriteLog(done.front());
  for (std::size_t i = 1; i < done.size(); ++i)
    WriteLog("Admin tool - " + done[i]);
  return {};
}
