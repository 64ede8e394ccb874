// The installer under Wine, in a prefix made fresh for this test: silent installs, the files,
// the autostart value and the "Apps and features" entry it leaves, the data file it writes,
// a reinstall that keeps the data, and the uninstaller. Every test starts from a machine
// without Orrindale.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <utility>

#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
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

TEST_F(Installer, ASilentFirstInstallWithoutAGoodPasswordFailsAndWritesNothing) {
  EXPECT_NE(runSetup("/S"), 0);
  EXPECT_NE(runSetup("/S /PASSWORD=five5"), 0) << "shorter than 6 characters";
  EXPECT_NE(runSetup("/S /PASSWORD=s3cret /ALLOWNEWUSERS=maybe"), 0);
  EXPECT_FALSE(test_files::exists(kInstallDir));
  EXPECT_FALSE(test_files::exists(kHalvard));
  EXPECT_FALSE(machineText(kRunKey, kRunValue));
  EXPECT_TRUE(uninstallEntryGone());
}

TEST_F(Installer, ASilentInstallSetsUpTheProgramItsDataAndItsEntries) {
  // The Run value as an earlier version named it, which Safe Mode passes over.
  const char earlier[] = "\"C:\\Program Files\\Orrindale\\orrindale.exe\"";
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kRunKey, "Orrindale", REG_SZ, earlier, sizeof earlier), ERROR_SUCCESS);
  ASSERT_EQ(runSetup("/S /PASSWORD=\"s3cret words\" /ALLOWNEWUSERS=no"), 0);
  for (const std::string& file : {kProgram, kAdmin, kUninstaller})
    EXPECT_TRUE(test_files::exists(file)) << file;
  EXPECT_EQ(machineText(kRunKey, kRunValue), inQuotes(kProgram));
  EXPECT_FALSE(machineText(kRunKey, "Orrindale"));
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

  EXPECT_EQ(runAdmin("add-user kid all=30"), 1) << "Wine knows no account kid";
  ASSERT_EQ(runAdmin("add-user kid --force all=30"), 0);
  ASSERT_TRUE(restartGuard({"--believe-named-accounts"}));  // Wine runs every program as one account
  OrrindaleProcess program("kid", "ATHLON", "2", kProgram);
  ASSERT_TRUE(program.started());
  EXPECT_TRUE(waitUntil([] { return logHas(" - kid - Process Started - User kid"); }, 20000));
}

TEST_F(Installer, AReinstallKeepsTheDataFileAndTheLog) {
  ASSERT_EQ(runSetup("/S /PASSWORD=firstpw"), 0);
  ASSERT_EQ(runAdmin("add-user kid --force"), 0);
  ASSERT_EQ(runAdmin("grant kid 15"), 0);
  // The guard keeps charging the session's own account (slot 1) and appending to the log
  // meanwhile: everything else stays as it was.
  const auto withoutTheSessionsSlot = [] {
    UsageTable table = storedTable();
    table.user(1) = UserRecord{};
    std::vector<std::string> fields;
    for (const std::string* field : fieldsInFileOrder(std::as_const(table)))
      fields.push_back(*field);
    return fields;
  };
  const std::vector<std::string> data = withoutTheSessionsSlot();
  const std::string log = test_files::readBytes(kLogFile);

  EXPECT_EQ(runSetup("/S /PASSWORD=second /ALLOWNEWUSERS=no"), 0);
  EXPECT_EQ(runSetup("/S"), 0) << "a reinstall needs no password";
  EXPECT_EQ(withoutTheSessionsSlot(), data);
  EXPECT_EQ(test_files::readBytes(kLogFile).substr(0, log.size()), log);
  EXPECT_TRUE(test_files::exists(kProgram));
}

TEST_F(Installer, TheUninstallerEndsRunningCopiesAndKeepsTheDataUnlessAsked) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(runAdmin("add-user kid --force"), 0);
  ASSERT_TRUE(restartGuard({"--believe-named-accounts"}));  // Wine runs every program as one account
  OrrindaleProcess program("kid", "ATHLON", "2", kProgram);
  ASSERT_TRUE(waitUntil([] { return logHas(" - kid - Process Started - User kid"); }, 20000));

  uninstallAndWait("/S");
  EXPECT_NE(program.waitForExit(10000), -1) << "ended by the uninstaller";
  EXPECT_FALSE(test_files::exists(kInstallDir));
  EXPECT_FALSE(machineText(kRunKey, kRunValue));
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

  const std::string differ = "The two passwords differ. Please type the same password twice.";
  const std::vector<std::array<std::string, 3>> refusals{
      {"one", "two", differ},
      {"Typed pw", "typed pw", differ},  // letter case counts
      {"five5", "five5", "The password needs at least 6 characters: a shorter one is soon guessed."},
  };
  for (const auto& [password, again, says] : refusals) {
    typeInto(edits[0], password);
    typeInto(edits[1], again);
    click(next);
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = dialogOf(setup.id(), window)) != nullptr; }));
    EXPECT_FALSE(controlsOf(box, "Static", says).empty()) << password;
    click(GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitUntil([&] { return dialogOf(setup.id(), window) == nullptr; }));
    ASSERT_EQ(passwordEdits(window).size(), 2u) << "still on the password page";
  }

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

// Wherever the folder is (under C:\\ it would inherit every authenticated account's right to change
// what it holds), only the administrators may change it; the Users group may not open the data
// folder or anything in it. Wine sets no rights, so what the setup asks of icacls is checked.
TEST_F(Installer, TheSetupKeepsTheInstallFolderAndTheDataFolderToTheAdministrators) {
  const std::string folder = "C:\\Orrindale";
  const std::string notes = folder + "\\notes.txt";
  std::filesystem::create_directories(folder);
  test_files::writeBytes(notes, "mine");
  recordIcacls();
  EXPECT_NE(runSetup("/S /PASSWORD=s3cret /D=" + folder), 0) << "a folder holding what is not Orrindale's";
  EXPECT_TRUE(icaclsCalls().empty());
  EXPECT_FALSE(test_files::exists(kHalvard));
  EXPECT_EQ(test_files::readBytes(notes), "mine");

  test_files::remove(notes);
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret /D=" + folder), 0);
  EXPECT_EQ(machineText(kRunKey, kRunValue), inQuotes(folder + "\\orrindale.exe"));
  // A DLL beside the guard, which Windows would load in place of the system's.
  test_files::writeBytes(folder + "\\wtsapi32.dll", "put there");
  ASSERT_EQ(runSetup("/S"), 0) << "a reinstall in the same folder";
  EXPECT_FALSE(test_files::exists(folder + "\\wtsapi32.dll"));

  const std::string installed = inQuotes(folder);
  const std::string halvard = inQuotes(kHalvard);
  const std::vector<std::string> install{
      installed + " /setowner *S-1-5-32-544 /T",
      installed + " /reset /T",
      installed + " /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX",
      halvard + " /setowner *S-1-5-32-544 /T",
      halvard + " /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F",
      halvard + " /remove:g *S-1-5-32-545",
      inQuotes(kDataFile) + " /reset",
      inQuotes(kLogFile) + " /reset",
  };
  std::vector<std::string> twice = install;
  twice.insert(twice.end(), install.begin(), install.end());
  EXPECT_EQ(icaclsCalls(), twice);

  uninstallAndWait("/S /REMOVEDATA", folder);
  EXPECT_FALSE(test_files::exists(folder));
  EXPECT_FALSE(test_files::exists(kHalvard));
}
