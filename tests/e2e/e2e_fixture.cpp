#include "tests/e2e/e2e_fixture.h"

#include <algorithm>
#include <filesystem>

#include "accounting/log/activity_log.h"
#include "accounting/data_file/data_file.h"
#include "accounting/data_file/hours_file.h"
#include "accounting/program/startup.h"
#include "runtime/clock.h"
#include "tests/fixtures/files.h"

void OrrindaleEndToEnd::SetUp() {
  const FixedPaths paths;
  std::filesystem::create_directories(std::filesystem::path(paths.dataFile).parent_path());
  vSession.dataFilePath = paths.dataFile;
  vSession.logPath = paths.log;
  test_files::remove(paths.log);
  test_files::remove(hoursFileBeside(paths.dataFile));  // every account the whole day
}

void OrrindaleEndToEnd::prepareDataFile(const std::string& minutesLeft, void (*edit)(UsageTable&)) {
  InstallDefaults();
  UserRecord& alice = vTable.user(1);
  const rt::LocalTime now = rt::localNow();
  alice.field(kAccount) = "alice";
  alice.field(kMinutesLeft) = minutesLeft;
  alice.field(kLastYear) = zeroPadded(now.year, 4);
  alice.field(kLastMonth) = zeroPadded(now.month, 2);
  alice.field(kLastDay) = zeroPadded(now.day, 2);
  alice.field(kLastHour) = "08";
  alice.field(kLastMinute) = "00";
  for (int day = 0; day < kDays; ++day)
    alice.field(kSundayAllowance + day) = "60";
  if (edit)
    edit(vTable);
  test_files::writeBytes(vSession.dataFilePath, "");
  RewriteDataFile();
}

UsageTable OrrindaleEndToEnd::dataFile() {
  LoadData();
  return vTable;
}

bool OrrindaleEndToEnd::logHas(const std::string& ending) {
  const auto lines = test_files::lines(vSession.logPath);
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.size() >= ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
  });
}

bool OrrindaleEndToEnd::started(OrrindaleProcess& program, const std::string& account) {
  return program.started() &&
         waitUntil([&] { return logHas(" - " + account + " - Process Started - User " + account); });
}
