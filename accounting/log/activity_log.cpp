#include "accounting/log/activity_log.h"

#include "accounting/table/table_home.h"
#include "accounting/table/usage_table.h"
#include "accounting/log/log_texts.h"
#include "runtime/file.h"
#include "runtime/processes.h"

void WriteLog(const std::string& message) {
  MakeTimeStamp();
  const std::string line = vStamp.day + "/" + vStamp.month + "/" + vStamp.year + " " + vStamp.hour + ":" +
                           vStamp.minute + " - " + storableText(vSession.userName) + " - " + storableText(message) +
                           "\n";
  if (vSession.debugLevel == 1) {
    rt::writeStdout(line);
    return;
  }
  vHome.writeLine(line, message);
}

void WriteLogAs(const std::string& user, const std::string& message) {
  const std::string own = vSession.userName;
  vSession.userName = user;
  WriteLog(message);
  vSession.userName = own;
}

void appendToLogFile(const std::string& line, const std::string&) {
  rt::TextFile log(vSession.logPath, rt::OpenMode::Append);
  if (log.isOpen())
    log.write(line);
}

std::string clockMovedBackText(const UserRecord& user) {
  return kClockBackLine + zeroPadded(readNumber(user.field(kLastDay)), 2) + "/" +
         zeroPadded(readNumber(user.field(kLastMonth)), 2) + "/" + zeroPadded(readNumber(user.field(kLastYear)), 4) +
         " " + zeroPadded(readNumber(user.field(kLastHour)), 2) + ":" +
         zeroPadded(readNumber(user.field(kLastMinute)), 2) + kLineStars;
}

// Only the log works until a program chooses where its table lives.
constinit TableHome vHome{nullptr, nullptr, nullptr, appendToLogFile, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr,         nullptr, nullptr};
