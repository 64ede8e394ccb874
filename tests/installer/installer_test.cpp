// The installer under Wine, in a prefix made fresh for this test: silent installs, the files,
// the autostart value and the "Apps and features" entry it leaves, the data file it writes,
// a reinstall that keeps the data, and the uninstaller. Every test starts from a machine
// without Orrindale.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "accounting/password_hash.h"
#include "accounting/usage_table.h"
#include "tests/e2e/orrindale_process.h"
#include "tests/e2e/screen_shot.h"
#include "tests/fixtures/files.h"
#include "tests/installer/installer_fixture.h"

namespace {

struct DialogSearch {
  DWORD process;
  HWND other;
  HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (process != search->process || window == search->other || !IsWindowVisible(window) ||
      std::string(name) != "#32770")
    return TRUE;
  search->found = window;
  return FALSE;
}

// A visible dialog window of the process other than the one given: the setup's own window,
// or a message box over it.
HWND dialogOf(DWORD process, HWND other = nullptr) {
  DialogSearch search{process, other, nullptr};
  EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> passwordEdits(HWND window) {
  std::vector<HWND> edits;
  for (HWND edit : controlsOf(window, "Edit"))
    if (IsWindowVisible(edit) && (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD))
      edits.push_back(edit);
  return edits;
}

void takeShotIfAsked(HWND window, const std::string& name) {
  if (rt::getEnv("ORRINDALE_SHOTS").empty())
    return;
  settle(window);
  EXPECT_TRUE(saveScreen(shotPath(name)));
}

}  // namespace

TEST_F(Installer, ASilentFirstInstallWithoutAPasswordFailsAndWritesNothing) {
  EXPECT_NE(runSetup("/S"), 0);
  EXPECT_NE(runSetup("/S /PASSWORD=s3cret /ALLOWNEWUSERS=maybe"), 0);
  EXPECT_FALSE(test_files::exists(kInstallDir));
  EXPECT_FALSE(test_files::exists(kHalvard));
  EXPECT_FALSE(machineText(kRunKey, "Orrindale"));
  EXPECT_TRUE(uninstallEntryGone());
}

TEST_F(Installer, ASilentInstallSetsUpTheProgramItsDataAndItsEntries) {
  ASSERT_EQ(runSetup("/S /PASSWORD=\"s3cret words\" /ALLOWNEWUSERS=no"), 0);
  for (const std::string& file : {kProgram, kAdmin, kUninstaller})
    EXPECT_TRUE(test_files::exists(file)) << file;
  EXPECT_EQ(machineText(kRunKey, "Orrindale"), inQuotes(kProgram));
  EXPECT_EQ(machineText(kUninstallKey, "DisplayName"), "Orrindale");
  EXPECT_EQ(machineText(kUninstallKey, "DisplayIcon"), kProgram + ",0");
  EXPECT_EQ(machineText(kUninstallKey, "UninstallString"), inQuotes(kUninstaller));
  EXPECT_EQ(machineText(kUninstallKey, "QuietUninstallString"), inQuotes(kUninstaller) + " /S");
  EXPECT_TRUE(machineText(kUninstallKey, "DisplayVersion"));
  EXPECT_TRUE(machineText(kUninstallKey, "Publisher"));
  std::uintmax_t installed = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kInstallDir))
    installed += entry.is_regular_file() ? entry.file_size() : 0;
  EXPECT_NEAR(machineNumber(kUninstallKey, "EstimatedSize").value_or(0), installed / 1024.0, 4) << "kilobytes";

  // The default content, the password given, and the account that ran the setup exempt.
  const UsageTable table = storedTable();
  EXPECT_TRUE(isPasswordHash(table.password));
  EXPECT_TRUE(passwordOpens(table.password, "s3cret words"));
  InstallDefaults();
  EXPECT_EQ(table.defaultAllowances, vTable.defaultAllowances);
  EXPECT_EQ(table.options[kNewUserFlag - 1], "1");
  EXPECT_EQ(table.user(1).field(kAccount), account);
  EXPECT_EQ(table.user(1).field(kMinutesLeft), "1440");
  EXPECT_EQ(table.user(1).field(kSundayAllowance + 6), "1440");
  EXPECT_EQ(table.user(2).field(kAccount), "");
  EXPECT_TRUE(logHas(" - Admin tool - fresh data file written, new users refused"));

  ASSERT_EQ(runAdmin("add-user kid all=30"), 0);
  ASSERT_TRUE(restartGuard({"--believe-named-accounts"}));  // Wine runs every program as one account
  OrrindaleProcess program("kid", "ATHLON", "2", kProgram);
  ASSERT_TRUE(program.started());
  EXPECT_TRUE(waitUntil([] { return logHas(" - kid - Process Started - User kid"); }, 20000));
}

TEST_F(Installer, AReinstallKeepsTheDataFileAndTheLogByteForByte) {
  ASSERT_EQ(runSetup("/S /PASSWORD=first"), 0);
  ASSERT_EQ(runAdmin("add-user kid"), 0);
  ASSERT_EQ(runAdmin("grant kid 15"), 0);
  const std::string data = test_files::readBytes(kDataFile);
  const std::string log = test_files::readBytes(kLogFile);

  EXPECT_EQ(runSetup("/S /PASSWORD=second /ALLOWNEWUSERS=no"), 0);
  EXPECT_EQ(runSetup("/S"), 0) << "a reinstall needs no password";
  EXPECT_EQ(test_files::readBytes(kDataFile), data);
  EXPECT_EQ(test_files::readBytes(kLogFile), log);
  EXPECT_TRUE(test_files::exists(kProgram));
}

TEST_F(Installer, TheUninstallerEndsRunningCopiesAndKeepsTheDataUnlessAsked) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(runAdmin("add-user kid"), 0);
  ASSERT_TRUE(restartGuard({"--believe-named-accounts"}));  // Wine runs every program as one account
  OrrindaleProcess program("kid", "ATHLON", "2", kProgram);
  ASSERT_TRUE(waitUntil([] { return logHas(" - kid - Process Started - User kid"); }, 20000));

  uninstallAndWait("/S");
  EXPECT_NE(program.waitForExit(10000), -1) << "ended by the uninstaller";
  EXPECT_FALSE(test_files::exists(kInstallDir));
  EXPECT_FALSE(machineText(kRunKey, "Orrindale"));
  EXPECT_EQ(storedTable().user(2).field(kAccount), "kid");
  EXPECT_TRUE(test_files::exists(kLogFile));

  ASSERT_EQ(runSetup("/S"), 0);
  uninstallAndWait("/S /REMOVEDATA");
  EXPECT_FALSE(test_files::exists(kInstallDir));
  EXPECT_FALSE(test_files::exists(kHalvard));
}

// The pages a supervisor sees; ./dev shot takes its pictures of the setup here.
TEST_F(Installer, AnInteractiveFirstInstallAsksForThePasswordTwiceAndOffersToStartOrrindale) {
  OrrindaleProcess setup(account, rt::getEnv("COMPUTERNAME"), "", setupPath());
  HWND window = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (window = dialogOf(setup.id())) != nullptr; }));
  HWND next = GetDlgItem(window, IDOK);
  click(next);  // past the folder page
  std::vector<HWND> edits;
  ASSERT_TRUE(waitUntil([&] { return (edits = passwordEdits(window)).size() == 2; }));

  typeInto(edits[0], "one");
  typeInto(edits[1], "two");
  click(next);
  HWND box = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (box = dialogOf(setup.id(), window)) != nullptr; }));
  EXPECT_FALSE(controlsOf(box, "Static", "The two passwords differ. Please type the same password twice.").empty());
  click(GetDlgItem(box, IDOK));
  ASSERT_TRUE(waitUntil([&] { return dialogOf(setup.id(), window) == nullptr; }));
  ASSERT_EQ(passwordEdits(window).size(), 2u) << "still on the password page";

  typeInto(edits[0], "typed pw");
  typeInto(edits[1], "typed pw");
  takeShotIfAsked(window, "installer-password");
  click(next);
  HWND start = nullptr;
  ASSERT_TRUE(waitUntil(
      [&] {
        const auto found = controlsOf(window, "Button", "Start Orrindale now");
        return !found.empty() && IsWindowVisible(start = found.front());
      },
      60000));
  EXPECT_EQ(SendMessageA(start, BM_GETCHECK, 0, 0), BST_CHECKED);
  takeShotIfAsked(window, "installer-finish");
  click(next);  // Finish, with Orrindale started
  EXPECT_EQ(setup.waitForExit(20000), 0);

  const UsageTable table = storedTable();
  EXPECT_TRUE(passwordOpens(table.password, "typed pw"));
  EXPECT_EQ(table.options[kNewUserFlag - 1], "0");
  EXPECT_EQ(table.user(1).field(kAccount), account);
  EXPECT_TRUE(waitUntil([&] { return logHas(" - " + account + " - Process Started - User " + account); }, 20000));
}
