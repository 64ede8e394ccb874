#include "tests/e2e/e2e_fixture.h"

#include <algorithm>
#include <filesystem>

#include "accounting/activity_log.h"
#include "accounting/data_file.h"
#include "accounting/startup.h"
#include "runtime/clock.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/fixtures/files.h"

void OrrindaleEndToEnd::SetUp() {
  const FixedPaths paths;
  std::filesystem::create_directories(std::filesystem::path(paths.dataFile).parent_path());
  vSession.dataFilePath = paths.dataFile;
  vSession.logPath = paths.log;
  test_files::remove(paths.log);
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

bool OrrindaleEndToEnd::showPasswordWindow(OrrindaleProcess& program) {
  HWND gate = program.window(kPasswordWindow);
  SendMessageA(program.window(kHostWindow), kTrayCallback, 1, WM_LBUTTONDOWN);
  return waitUntil([&] { return IsWindowVisible(gate) != FALSE; });
}

bool OrrindaleEndToEnd::openAdministration(OrrindaleProcess& program, const std::string& password) {
  return showPasswordWindow(program) && submitPassword(program, password, false);
}

bool OrrindaleEndToEnd::submitPassword(OrrindaleProcess& program, const std::string& password, bool withOkButton) {
  HWND gate = program.window(kPasswordWindow);
  HWND main = program.window(kMainWindow);
  const auto edits = controlsOf(gate, "Edit");
  const auto ok = controlsOf(gate, "Button", "OK");
  if (edits.size() != 1 || ok.size() != 1)
    return false;
  // The window clears the edit whenever it is activated, and under Wine the activation can
  // come after the typing: a refusal of the right password is then answered and typed again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    clickInto(edits[0]);
    typeInto(edits[0], password);
    DialogAnswerer refusal("Enter Password", IDOK, 10000, program.id());
    if (withOkButton)
      click(ok[0]);
    else
      pressKey(edits[0], VK_RETURN);
    const bool opened =
        waitUntil([&] { return (IsWindowVisible(main) && !IsWindowVisible(gate)) || !refusal.answered().empty(); });
    if (refusal.finish().empty())
      return opened;
  }
  return false;
}

void OrrindaleEndToEnd::minuteTick(OrrindaleProcess& program) {
  PostMessageA(program.window(kHostWindow), WM_TIMER, 1, 0);
}
