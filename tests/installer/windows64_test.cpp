// The setup on 64-bit Windows, run in a 64-bit Wine prefix (which runs 32-bit programs through
// the same redirections): the programs go to "Program Files (x86)", the machine's values to the
// registry's 32-bit view (WOW6432Node), the data still to the native Program Files; the guard
// runs, the tool reaches it, a copy counts to zero and runs the log-off of the native system
// folder (Sysnative), and the uninstaller removes everything but the data.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "accounting/log/activity_log.h"
#include "accounting/table/table_rules.h"
#include "runtime/clock.h"
#include "tests/e2e/orrindale_process.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/logoff_stub.h"
#include "tests/installer/installer_fixture.h"

namespace {

using Windows64Install = Installer;

// A value of the machine's registry in the native (64-bit) view, or nothing.
std::optional<DWORD> nativeNumber(const char* key, const char* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD data = 0;
  DWORD size = sizeof data;
  const bool read = RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size) == 0;
  RegCloseKey(opened);
  return read ? std::optional<DWORD>(data) : std::nullopt;
}

// The name of the Run value (in the view the 32-bit programs see) that starts the program.
std::optional<std::string> runValueStarting(const std::string& program) {
  HKEY run = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &run) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::string> found;
  char name[256];
  char data[1024];
  for (DWORD index = 0;; ++index) {
    DWORD nameSize = sizeof name;
    DWORD dataSize = sizeof data - 1;
    DWORD type = 0;
    if (RegEnumValueA(run, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) != 0)
      break;
    data[dataSize] = '\0';
    if (type == REG_SZ && data == inQuotes(program))
      found = name;
  }
  RegCloseKey(run);
  return found;
}

}  // namespace

TEST_F(Windows64Install, AProtectedInstallCountsToZeroAndLogsOffThroughTheNativeSystemFolder) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64) && wow64) << "runs as a 32-bit program on 64-bit Windows";
  ASSERT_EQ(kInstallDir, "C:\\Program Files (x86)\\Orrindale");
  // The stand-in log-off goes to the native system folder only: a record proves that folder's ran.
  logoff_stub::install();
  char ownFolder[MAX_PATH] = {};
  GetSystemDirectoryA(ownFolder, MAX_PATH);
  ASSERT_FALSE(test_files::exists(std::string(ownFolder) + "\\logoff.exe"));

  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  for (const std::string& file : {kProgram, kAdmin, kGuard, kUninstaller, kDataFile, kLogFile})
    EXPECT_TRUE(test_files::exists(file)) << file;
  EXPECT_EQ(machineNumber("Software\\Orrindale", "Protected"), 1u) << "where the 32-bit programs read it";
  EXPECT_EQ(nativeNumber("Software\\WOW6432Node\\Orrindale", "Protected"), 1u);
  EXPECT_FALSE(nativeNumber("Software\\Orrindale", "Protected"));
  EXPECT_TRUE(runValueStarting(kProgram));
  EXPECT_EQ(machineText(kUninstallKey, "UninstallString"), inQuotes(kUninstaller));
  EXPECT_TRUE(
      waitUntil([] { return serviceState() == SERVICE_RUNNING && !processesNamed("orrindale-guard.exe").empty(); }));

  // The tool through the guard: in a protected install it changes nothing without it.
  ASSERT_EQ(runAdmin("set-allowance " + account + " all=60"), 0);
  EXPECT_EQ(storedTable().user(1).allowance(1), "60");

  // The account that ran the setup, with one minute left today, counted by whoever counts.
  ASSERT_EQ(rt::runCommand(inQuotes(kGuard) + " --stop"), 0);
  UsageTable table = storedTable();
  const rt::LocalTime now = rt::localNow();
  table.user(1).field(kMinutesLeft) = "0001";
  table.user(1).field(kLastYear) = zeroPadded(now.year, 4);
  table.user(1).field(kLastMonth) = zeroPadded(now.month, 2);
  table.user(1).field(kLastDay) = zeroPadded(now.day, 2);
  writeBehindTheGuard(table);
  ASSERT_TRUE(startService({}));
  ASSERT_TRUE(waitUntil([] { return !processesNamed("orrindale-guard.exe").empty(); }));
  OrrindaleProcess copy(account, "ATHLON", "0", kProgram);
  EXPECT_TRUE(waitUntil(
      [&] {
        return logoff_stub::runs() >= 1 &&
               (logHas(" - " + account + " - **** SYSTEM LOGOFF ****") || logHas(" - Guard logged off " + account) ||
                logHas(" - Guard logged off " + account + " - no minutes left"));
      },
      30000));

  uninstallAndWait("/S");
  EXPECT_FALSE(test_files::exists(kInstallDir));
  EXPECT_FALSE(runValueStarting(kProgram));
  EXPECT_TRUE(uninstallEntryGone());
  EXPECT_TRUE(waitUntil([] { return serviceState() == 0 && processesNamed("orrindale-guard.exe").empty(); }));
  EXPECT_TRUE(test_files::exists(kDataFile));
  EXPECT_TRUE(test_files::exists(kLogFile));
}
