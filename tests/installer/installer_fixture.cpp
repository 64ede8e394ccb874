#include "tests/installer/installer_fixture.h"

#include <tlhelp32.h>

#include <algorithm>
#include <filesystem>

#include "accounting/data_file/data_file.h"
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

void uninstallAndWait(const std::string& arguments, const std::string& folder) {
  ASSERT_EQ(rt::runCommand(inQuotes(folder + "\\uninstall.exe") + " " + arguments), 0);
  ASSERT_TRUE(waitUntil(uninstallEntryGone, 30000));
}

UsageTable storedTable() {
  vSession.dataFilePath = kDataFile;
  vSession.logPath = test_files::tempPath("core.log");
  InstallDefaults();
  EXPECT_GE(LoadData(), kTableFields);
  return vTable;
}

void writeBehindTheGuard(const UsageTable& table) {
  vSession.dataFilePath = kDataFile;
  vSession.logPath = test_files::tempPath("core.log");
  vTable = table;
  ASSERT_TRUE(RewriteDataFile());
}

bool logHas(const std::string& ending) {
  return logCount(ending) > 0;
}

DWORD serviceState() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceA(manager, "OrrindaleGuard", SERVICE_QUERY_STATUS) : nullptr;
  SERVICE_STATUS status{};
  const bool known = service && QueryServiceStatus(service, &status);
  if (service)
    CloseServiceHandle(service);
  if (manager)
    CloseServiceHandle(manager);
  return known ? status.dwCurrentState : 0;
}

bool startService(std::vector<const char*> arguments) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceA(manager, "OrrindaleGuard", SERVICE_START) : nullptr;
  const bool started = service && StartServiceA(service, static_cast<DWORD>(arguments.size()),
                                                const_cast<const char**>(arguments.data()));
  if (service)
    CloseServiceHandle(service);
  if (manager)
    CloseServiceHandle(manager);
  return started;
}

std::vector<DWORD> processesNamed(const char* program) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, program) == 0)
      found.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return found;
}

std::vector<DWORD> copies() {
  return processesNamed("orrindale.exe");
}

void kill(DWORD process) {
  HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process);
  ASSERT_TRUE(handle);
  TerminateProcess(handle, 1);
  WaitForSingleObject(handle, 5000);
  CloseHandle(handle);
}

int logCount(const std::string& ending) {
  const auto lines = test_files::lines(kLogFile);
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.size() >= ending.size() && line.compare(line.size() - ending.size(), ending.size(), ending) == 0;
  }));
}

bool restartGuard(std::vector<const char*> arguments) {
  return rt::runCommand(inQuotes(kGuard) + " --stop") == 0 && startService(std::move(arguments)) &&
         waitUntil([] { return serviceState() == SERVICE_RUNNING; });
}

namespace {
std::string icaclsRecord() {
  return (std::filesystem::path(rt::systemProgram("icacls")).parent_path() / "icacls-calls.txt").string();
}
}  // namespace

void recordIcacls() {
  std::error_code error;
  std::filesystem::copy_file(test_files::besideTest("icacls_recorder"), rt::systemProgram("icacls"),
                             std::filesystem::copy_options::overwrite_existing, error);
  ASSERT_FALSE(error) << error.message();
  // Wine runs its own icacls, not the file in the system folder, unless told otherwise.
  const char native[] = "native";
  ASSERT_EQ(
      RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "icacls.exe", REG_SZ, native, sizeof native),
      ERROR_SUCCESS);
  test_files::remove(icaclsRecord());
}

std::vector<std::string> icaclsCalls() {
  return test_files::lines(icaclsRecord());
}

void Installer::SetUp() {
  // Wherever an earlier test installed it.
  if (const auto folder = machineText(kUninstallKey, "InstallLocation"))
    uninstallAndWait("/S /REMOVEDATA", *folder);
  std::error_code ignored;
  std::filesystem::remove_all(kHalvard, ignored);
  ASSERT_FALSE(test_files::exists(kInstallDir));
  ASSERT_FALSE(test_files::exists(kHalvard));
}
