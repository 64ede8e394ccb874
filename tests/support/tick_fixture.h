#pragma once
// Accounting tests that run the minute tick or start-up: the interface routines record,
// the "logoff" command is a stub, and the machine is called PENTIUM4.
#include <string>

#include "accounting/usage_table.h"
#include "tests/support/accounting_fixture.h"

class TickTest : public AccountingTest {
 protected:
  void SetUp() override;

  // Puts an account in a slot, last counted at the given date, with 30 minutes allowed
  // on each weekday (Sunday 30, Monday 31, ... Saturday 36).
  UserRecord& placeUser(int slot,
                        const std::string& account,
                        const std::string& minutesLeft,
                        int year = 2026,
                        int month = 12,
                        int day = 6);
  // Saves the table as the data file, as another copy of the program would have.
  void saveTable();
  // Cuts the data file after that many lines, as an interrupted copy would; returns what is left.
  std::string cutDataFile(int lines);
  // The slot's field as the data file now holds it.
  std::string fileField(int slot, int field);
};
