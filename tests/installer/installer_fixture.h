#pragma once
// What every installer test shares: the paths the setup installs to, running the setup, the
// uninstaller and the administration tool, the machine's registry values, the data file and
// the log as the setup left them, the folder rights the setup asked icacls for, and a fixture that
// starts each test on a machine without Orrindale.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "accounting/table/usage_table.h"
#include "runtime/processes.h"

// Where the setup installs, as Windows tells a 32-bit program: on 64-bit Windows under
// "Program Files (x86)".
inline const std::string kInstallDir = rt::getEnv("ProgramFiles") + "\\Orrindale";
inline const std::string kProgram = kInstallDir + "\\orrindale.exe";
inline const std::string kAdmin = kInstallDir + "\\orrindale-admin.exe";
inline const std::string kGuard = kInstallDir + "\\orrindale-guard.exe";
inline const std::string kUninstaller = kInstallDir + "\\uninstall.exe";
inline const std::string kHalvard = "C:\\Program Files\\Halvard";
inline const std::string kDataFile = kHalvard + "\\HalvardDemo.dat";
inline const std::string kLogFile = kHalvard + "\\debugDemo.log";
inline const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const char* const kRunValue = "*Orrindale";  // the "*" runs it in Safe Mode too
inline const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orrindale";

std::string inQuotes(const std::string& text);
// The setup is built beside the folder of the test executables.
std::string setupPath();
int runSetup(const std::string& arguments);
int runAdmin(const std::string& arguments);
std::optional<std::string> machineText(const char* key, const char* name);
std::optional<DWORD> machineNumber(const char* key, const char* name);
bool uninstallEntryGone();
// A quiet uninstaller hands over to a copy of itself and returns at once; the copy removes the
// uninstall entry last.
void uninstallAndWait(const std::string& arguments, const std::string& folder = kInstallDir);
UsageTable storedTable();
// Writes the table over the data file as another program would, behind the guard's back.
void writeBehindTheGuard(const UsageTable& table);
// Whether a line of the activity log ends with the text, and how many do.
bool logHas(const std::string& ending);
int logCount(const std::string& ending);

// The guard service's state, 0 when it is not registered.
DWORD serviceState();
// Starts the stopped service with the arguments, as an administrator may.
bool startService(std::vector<const char*> arguments);
// Stops the running guard and starts it again with the arguments (test options); true once it runs.
bool restartGuard(std::vector<const char*> arguments);
// The process ids of the running programs of that file name.
std::vector<DWORD> processesNamed(const char* program);
// The process ids of the running copies of Orrindale.
std::vector<DWORD> copies();
// Ends a copy as the Task Manager would.
void kill(DWORD process);

// Puts icacls_recorder in the place of the system's icacls (Wine's own sets nothing and says
// nothing) and forgets earlier runs.
void recordIcacls();
// The arguments of each run of icacls since, one line each.
std::vector<std::string> icaclsCalls();

class Installer : public testing::Test {
 protected:
  void SetUp() override;

  const std::string account = rt::getEnv("USERNAME");
};
