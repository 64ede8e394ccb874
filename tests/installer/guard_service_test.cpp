// The guard service under Wine, as the setup installs it: registered to start at boot as
// LocalSystem, running, and starting Orrindale again in the session of an account in the table
// when its copy was ended. Wine runs services, lists processes by session and starts a process
// with a session's token; it cannot log a session off (WTSLogoffSession is not implemented).
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "tests/e2e/orrindale_process.h"
#include "tests/fixtures/files.h"
#include "tests/installer/installer_fixture.h"

namespace {

const char* const kServiceKey = "System\\CurrentControlSet\\Services\\OrrindaleGuard";
// Safe Mode, with and without networking, starts only the services named here.
const char* const kSafeModeKeys[] = {"System\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\OrrindaleGuard",
                                     "System\\CurrentControlSet\\Control\\SafeBoot\\Network\\OrrindaleGuard"};

// The one copy the guard started in place of the one ended before.
std::optional<DWORD> restartedCopy(int restarts) {
  std::vector<DWORD> running;
  if (!waitUntil([&] {
        return logCount(" - Guard restarted Orrindale - User " + rt::getEnv("USERNAME")) == restarts &&
               (running = copies()).size() == 1;
      }))
    return std::nullopt;
  return running.front();
}

}  // namespace

TEST_F(Installer, TheSetupRegistersTheGuardToStartAtBootAndInSafeModeAsLocalSystemAndTheUninstallerRemovesIt) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  EXPECT_EQ(machineText(kServiceKey, "ImagePath"), inQuotes(kGuard));
  EXPECT_EQ(machineNumber(kServiceKey, "Start"), static_cast<DWORD>(SERVICE_AUTO_START));
  EXPECT_EQ(machineText(kServiceKey, "ObjectName"), "LocalSystem");
  EXPECT_EQ(machineText(kServiceKey, "DisplayName"), "Orrindale guard");
  EXPECT_TRUE(machineText(kServiceKey, "Description"));
  for (const char* safeMode : kSafeModeKeys)
    EXPECT_EQ(machineText(safeMode, nullptr), "Service") << safeMode;
  EXPECT_TRUE(waitUntil([] { return serviceState() == SERVICE_RUNNING; }));

  EXPECT_EQ(runSetup("/S"), 0) << "a reinstall stops the guard, replaces it and starts it again";
  EXPECT_TRUE(waitUntil([] { return serviceState() == SERVICE_RUNNING; }));

  uninstallAndWait("/S");
  EXPECT_TRUE(waitUntil([] { return serviceState() == 0 && !machineText(kServiceKey, "ImagePath"); }));
  EXPECT_FALSE(test_files::exists(kGuard));
  for (const char* safeMode : kSafeModeKeys)
    EXPECT_FALSE(machineText(safeMode, nullptr)) << safeMode;
}

TEST_F(Installer, TheGuardStartsAnEndedOrrindaleAgainAndLogsOffASessionThatKeepsEndingIt) {
  ASSERT_EQ(runSetup("/S /PASSWORD=s3cret"), 0);
  ASSERT_EQ(runAdmin("set-allowance " + account + " all=60"), 0);
  std::optional<OrrindaleProcess> own;
  own.emplace(account, rt::getEnv("COMPUTERNAME"), "2", kProgram);
  ASSERT_TRUE(waitUntil([&] { return logCount(" - Process Started - User " + account) == 1; }));

  // The same guard with test timings: a look every second, two seconds for a logon.
  ASSERT_TRUE(restartGuard({"--grace", "2", "--interval", "1"}));

  own.reset();  // ended from outside, as in the Task Manager
  std::optional<DWORD> copy = restartedCopy(1);
  ASSERT_TRUE(copy);
  EXPECT_TRUE(waitUntil([&] { return logCount(" - Process Started - User " + account) == 2; }))
      << "the guard's copy runs as the session's account";

  // Two more restarts make three within ten minutes; the next one needed logs the session off.
  for (int restarts : {2, 3}) {
    kill(*copy);
    copy = restartedCopy(restarts);
    ASSERT_TRUE(copy) << restarts;
  }
  kill(*copy);
  EXPECT_TRUE(waitUntil([&] {
    return logCount(" - Guard logged off " + account) == 1 ||
           logCount(" - Guard could not log off " + account + " (error 120)") == 1;  // Wine
  }));

  // The supervisor's report counts the guard's work from the log the service wrote.
  const std::string report = test_files::tempPath("report.json");
  ASSERT_EQ(rt::runCommand(inQuotes(kAdmin) + " report --json >" + inQuotes(report)), 0);
  const std::string json = test_files::readBytes(report);
  EXPECT_NE(json.find("\"account\": \"" + account + "\""), std::string::npos) << json;
  EXPECT_NE(
      json.find("\"guardRestarts\": " + std::to_string(logCount(" - Guard restarted Orrindale - User " + account))),
      std::string::npos)
      << json;
  EXPECT_NE(json.find("\"guardLogoffs\": " + std::to_string(logCount(" - Guard logged off " + account))),
            std::string::npos)
      << json;

  uninstallAndWait("/S");
  EXPECT_TRUE(copies().empty());
}
