#include "accounting/data_file/file_home.h"

#include <cstdio>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/hours_file.h"
#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "runtime/file.h"

namespace {

TableLoad load() {
  if (LoadData() != -1)
    return TableLoad::Loaded;
  return lastLoadProblem() == LoadProblem::Damaged ? TableLoad::Damaged : TableLoad::Missing;
}

// Reload, count, save. A minute that cannot be saved would come back with the next reload, and a
// file that cannot be written (read-only, disk full) would stop the count for good: it is not kept.
MinuteOutcome minute() {
  if (LoadData() == -1)
    return {};
  MakeTimeStamp();
  MinuteOutcome outcome{MinuteOutcome::NotInTable};
  if (vSession.currentUser != 0) {
    const CountedMinute counted = countMinute(vTable.user(vSession.currentUser), vStamp, vSession.machineName);
    outcome = {counted.kind == MinuteKind::NewDay           ? MinuteOutcome::NewDay
               : counted.kind == MinuteKind::ClockMovedBack ? MinuteOutcome::ClockMovedBack
                                                            : MinuteOutcome::Counted,
               counted.left};
  }
  return SaveData() ? outcome : MinuteOutcome{};
}

Admission admit(int& slot) {
  if (!newUsersAllowed(vTable))
    return Admission::NewUsersRefused;
  slot = firstFreeSlot(vTable);
  if (slot == 0)
    return Admission::NoFreeSlot;
  WriteLog(kFoundOneLine + zeroPadded(slot, 2));  // also refreshes the timestamp parts
  UserRecord& user = vTable.user(slot);
  fillNewSlot(user, vTable, vSession.userName, vStamp);
  stampUser(user, vStamp, vSession.machineName);
  // Kept at once, before the start-up minute reloads the file. A save that fails leaves the slot
  // in this run's table only; the minute that cannot be kept then says so.
  SaveData();
  return Admission::Admitted;
}

GateAnswer checkPassword(const std::string& typed) {
  return passwordOpens(vTable.password, typed) ? GateAnswer::Opens : GateAnswer::Wrong;
}

SaveOutcome notWritten() {
  return {SaveOutcome::NotKept, "the data file " + vSession.dataFilePath + " could not be written; the activity log " +
                                    vSession.logPath + " says more"};
}

// The gate has read line 1 here already: the password is not asked again.
SaveOutcome saveCells(const std::vector<Cell>& cells, const std::string&) {
  if (LoadData() == -1)
    return notWritten();
  std::vector<Cell> kept = cells;
  // Hashed whatever it looks like: a typed text that starts like a hash is still a password.
  for (Cell& cell : kept)
    if (cell.field == 1)
      if (std::string hashed = hashPassword(cell.text); !hashed.empty())
        cell.text = std::move(hashed);
  applyCells(vTable, kept);
  return SaveData() ? SaveOutcome{} : notWritten();
}

// A whole table is written over whatever the file holds; a file that is not there yet is made
// for it (the program itself never makes one), and taken away again when the write fails.
SaveOutcome writeWholeTable() {
  const bool existed = rt::TextFile(vSession.dataFilePath, rt::OpenMode::Read).isOpen();
  if (!existed && !rt::TextFile(vSession.dataFilePath, rt::OpenMode::Append).isOpen())
    return {SaveOutcome::NotKept,
            "cannot make " + vSession.dataFilePath + " (does its folder exist, and may it be written?)"};
  if (RewriteDataFile())
    return {};
  if (!existed)
    std::remove(vSession.dataFilePath.c_str());
  return notWritten();
}

SaveOutcome saveForTool(const std::vector<Cell>& cells, bool wholeTable, const std::vector<std::string>& done) {
  SaveOutcome outcome = wholeTable ? writeWholeTable() : LoadData() == -1 ? notWritten() : SaveOutcome{};
  if (!wholeTable && outcome.kind == SaveOutcome::Saved) {
    applyCells(vTable, cells);
    if (!SaveData())
      outcome = notWritten();
  }
  if (outcome.kind != SaveOutcome::Saved)
    return outcome;
  for (const std::string& sentence : done)
    WriteLog("Admin tool - " + sentence);
  return outcome;
}

HoursLoad loadHours(HoursBook& book) {
  return loadHoursFile(book);
}

// The answer window's password is checked as the gate checks it; the tool gives none.
SaveOutcome answerRequest(int number,
                          int minutes,
                          const std::optional<std::string>& password,
                          std::vector<std::string>& done) {
  if (password && checkPassword(*password) != GateAnswer::Opens)
    return {SaveOutcome::WrongPassword, ""};
  return answerRequestInFile(number, minutes, done);
}

std::string passwordStateOfTable() {
  return passwordState(vTable.password);
}

}  // namespace

constexpr TableHome kDataFileHome{load,
                                  minute,
                                  admit,
                                  appendToLogFile,
                                  checkPassword,
                                  saveCells,
                                  saveForTool,
                                  passwordStateOfTable,
                                  loadHours,
                                  saveHoursInFile,
                                  saveSupervisorHoursInFile,
                                  askForTimeInFile,
                                  answerRequest};
