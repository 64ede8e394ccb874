#include "tests/installer/installer_fixture.h"

#include <filesystem>

#include "accounting/data_file.h"
#include "tests/e2e/orrindale_process.h"
#include "tests/fixtures/files.h"

std::string inQuotes(const std::string& text) {
  return "\"" + text + "\"";
}

std::string setupPath() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return (std::filesystem::path(self).parent_path().parent_path() / "orrindale-setup.exe").string();
}

int runSetup(const std::string& arguments) {
  return rt::runCommand(inQuotes(setupPath()) + " " + arguments);
}

int runAdmin(const std::string& arguments) {
  return rt::runCommand(inQuotes(kAdmin) + " " + arguments + " >NUL");
}

std::optional<std::string> machineText(const char* key, const char* name) {
  char data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(data);
}

std::optional<DWORD> machineNumber(const char* key, const char* name) {
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return data;
}

bool uninstallEntryGone() {
  return !machineText(kUninstallKey, "DisplayName");
}

void uninstallAndWait(const std::string& arguments) {
  ASSERT_EQ(rt::runCommand(inQuotes(kUninstaller) + " " + arguments), 0);
  ASSERT_TRUE(waitUntil(uninstallEntryGone, 30000));
}

UsageTable storedTable() {
  vSession.dataFilePath = kDataFile;
  vSession.logPath = test_files::tempPath("core.log");
  InstallDefaults();
  EXPECT_GE(LoadData(), kTableFields);
  return vTable;
}

bool logHas(const std::string& ending) {
  for (const std::string& line : test_files::lines(kLogFile))
    if (line.size() >= ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0)
      return true;
  return false;
}

void Installer::SetUp() {
  if (test_files::exists(kUninstaller))
    uninstallAndWait("/S /REMOVEDATA");
  std::error_code ignored;
  std::filesystem::remove_all(kHalvard, ignored);
  ASSERT_FALSE(test_files::exists(kInstallDir));
  ASSERT_FALSE(test_files::exists(kHalvard));
}
