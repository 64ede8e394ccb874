// The usage table: its defaults and their order in the file, the number rule, minutes as text,
// and the session's initial values.
#include "accounting/table/usage_table.h"

#include <gtest/gtest.h>

TEST(UsageTable, DefaultsHaveTheFullShapeAndContent) {
  vTable.user(3).field(kAccount) = "leftover";
  InstallDefaults();
  EXPECT_EQ(vTable.password, "quillsun");
  const std::array<std::string, kDays> allowances{"20", "10", "30", "10", "5", "10", "10"};
  EXPECT_EQ(vTable.defaultAllowances, allowances);
  for (const std::string& option : vTable.options)
    EXPECT_EQ(option, "0");
  for (const UserRecord& user : vTable.users)
    for (const std::string& field : user.fields)
      EXPECT_EQ(field, "");
  EXPECT_EQ(fieldsInFileOrder(vTable).size(), 105u);
}

TEST(UsageTable, FileOrderIsPasswordAllowancesOptionsThenSlots) {
  InstallDefaults();
  vTable.defaultAllowance(7) = "sat";
  vTable.option(1) = "flag";
  vTable.user(1).field(kAccount) = "first";
  vTable.user(6).field(15) = "last";
  const auto fields = fieldsInFileOrder(vTable);
  EXPECT_EQ(*fields[0], "quillsun");
  EXPECT_EQ(*fields[7], "sat");     // line 8
  EXPECT_EQ(*fields[8], "flag");    // line 9
  EXPECT_EQ(*fields[15], "first");  // line 16
  EXPECT_EQ(*fields[104], "last");  // line 105
}

TEST(ReadNumber, FollowsTheNumberRule) {
  EXPECT_EQ(readNumber("0012"), 12);
  EXPECT_EQ(readNumber(" 07"), 7);
  EXPECT_EQ(readNumber("\t42 "), 42);
  EXPECT_EQ(readNumber("2.9"), 2);
  EXPECT_EQ(readNumber("-3"), -3);
  EXPECT_EQ(readNumber("12abc"), 12);
  EXPECT_EQ(readNumber(""), 0);
  EXPECT_EQ(readNumber("abc"), 0);
  EXPECT_EQ(readNumber(".5"), 0);
  EXPECT_EQ(readNumber("-"), 0);
  EXPECT_EQ(readNumber("99999999999999999999"), 2147483647);
  EXPECT_EQ(readNumber("-99999999999999999999"), -2147483647 - 1);
}

TEST(MinutesText, DropsLeadingZerosAndReadsJunkAsZero) {
  EXPECT_EQ(MinutesText("0010"), "10");
  EXPECT_EQ(MinutesText("0100"), "100");
  EXPECT_EQ(MinutesText("0000"), "0");
  EXPECT_EQ(MinutesText(""), "0");
  EXPECT_EQ(MinutesText("abc"), "0");
}

TEST(Session, StartsWithTheInitialValues) {
  vSession.userName = "player";
  vSession.minutesLeft = 3;
  resetSession();
  EXPECT_EQ(vSession.currentUser, 0);
  EXPECT_EQ(vSession.userName, "Admin");
  EXPECT_EQ(vSession.minutesLeft, 111);
  EXPECT_EQ(vSession.debugLevel, 0);
  EXPECT_EQ(vSession.firstWarningShown + vSession.secondWarningShown, 0);
  EXPECT_EQ(vSession.BlinkPhase, 1);
}
