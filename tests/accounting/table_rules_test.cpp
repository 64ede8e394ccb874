// The table's rules as the program, the tool and the guard share them.
#include "accounting/table/table_rules.h"

#include <gtest/gtest.h>

TEST(TableRules, AnAccountIsFoundOnlyByItsExactNameAndTheLastSlotHoldingItWins) {
  UsageTable table;
  table.user(3).field(kAccount) = "alice";
  table.user(5).field(kAccount) = "alice";
  table.user(6).field(kAccount) = "Bob";
  EXPECT_EQ(accountSlot(table, "alice"), 5);
  EXPECT_EQ(accountSlot(table, "Alice"), 0) << "letter case counts, for every program alike";
  EXPECT_EQ(accountSlot(table, "bob"), 0);
  EXPECT_EQ(accountSlot(table, "alice "), 0);
  EXPECT_EQ(accountSlot(table, ""), 0) << "an empty name never takes a free slot for its own";
  EXPECT_EQ(firstFreeSlot(table), 1);
}

TEST(TableRules, ANewSlotCopiesTheDefaultsVerbatimAndStartsTodaysDefaultAllowance) {
  UsageTable table;
  table.defaultAllowances = {"20", "abc", "30", "10", "5", "-4", "0099"};
  TimeStamp tuesday;
  tuesday.weekday = 3;
  UserRecord user;
  user.field(kLastHour) = "12";  // what the slot held before goes
  fillNewSlot(user, table, "carol", tuesday);
  EXPECT_EQ(user.field(kAccount), "carol");
  EXPECT_EQ(user.field(kMinutesLeft), "30");
  EXPECT_EQ(user.field(kLastHour), "");
  for (int day = 1; day <= kDays; ++day)
    EXPECT_EQ(user.allowance(day), table.defaultAllowances[day - 1]) << day;
}
