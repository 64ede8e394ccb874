#include "tests/support/tick_fixture.h"

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "tests/support/files.h"
#include "tests/support/logoff_stub.h"
#include "tests/support/recording_ui.h"

void TickTest::SetUp() {
  AccountingTest::SetUp();
  recording_ui::install();
  logoff_stub::install();
  vSession.machineName = "PENTIUM4";
}

UserRecord& TickTest::placeUser(int slot,
                                const std::string& account,
                                const std::string& minutesLeft,
                                int year,
                                int month,
                                int day) {
  UserRecord& user = vTable.user(slot);
  user.field(kAccount) = account;
  user.field(kMinutesLeft) = minutesLeft;
  user.field(kLastYear) = zeroPadded(year, 4);
  user.field(kLastMonth) = zeroPadded(month, 2);
  user.field(kLastDay) = zeroPadded(day, 2);
  user.field(kLastHour) = "08";
  user.field(kLastMinute) = "00";
  user.field(kMachine) = "DAD";
  for (int d = 0; d < kDays; ++d)
    user.field(kSundayAllowance + d) = std::to_string(30 + d);
  return user;
}

void TickTest::saveTable() {
  test_files::writeBytes(dataPath, "");
  RewriteDataFile();
}

std::string TickTest::cutDataFile(int lines) {
  std::string bytes = test_files::readBytes(dataPath);
  std::size_t end = 0;
  for (int line = 0; line < lines; ++line)
    end = bytes.find('\n', end) + 1;
  bytes.resize(end);
  test_files::writeBytes(dataPath, bytes);
  return bytes;
}

std::string TickTest::fileField(int slot, int field) {
  const auto fields = dataFileFields();
  const std::size_t line = 15 + (slot - 1) * kUserFields + (field - 1);
  return line < fields.size() ? fields[line] : "<missing>";
}
