#pragma once
// The common ground of the end-to-end tests: the program's fixed data file and log in the
// test prefix, a table with alice in slot 1, and the steps a user takes (the tray click, the
// password, a minute tick sent to the host window).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "accounting/usage_table.h"
#include "tests/e2e/orrindale_process.h"

constexpr int kHostWindow = 1;
constexpr int kPasswordWindow = 2;
constexpr int kMainWindow = 3;
constexpr int kTrayCallback = 0x0405;

class OrrindaleEndToEnd : public testing::Test {
 protected:
  void SetUp() override;

  // The default table with alice in slot 1, last counted today with the minutes given and
  // allowed 60 minutes every day; edit(vTable) may change it before it is saved.
  void prepareDataFile(const std::string& minutesLeft, void (*edit)(UsageTable&) = nullptr);
  // The data file as it is now.
  UsageTable dataFile();
  bool logHas(const std::string& ending);
  // Waits for the start-up log line of the account.
  bool started(OrrindaleProcess& program, const std::string& account = "alice");
  // Left click on the tray icon; true once PasswordWindow shows.
  bool showPasswordWindow(OrrindaleProcess& program);
  // Left click on the tray icon, the password and Enter; true once MainWindow shows.
  bool openAdministration(OrrindaleProcess& program, const std::string& password);
  // Types the password into the shown PasswordWindow and submits it with Enter or OK; true
  // once MainWindow shows.
  bool submitPassword(OrrindaleProcess& program, const std::string& password, bool withOkButton);
  void minuteTick(OrrindaleProcess& program);
};
