// report: the activity log read back for the supervisor, without changing it.
#include <gtest/gtest.h>

#include "tests/admin/admin_fixture.h"
#include "tests/fixtures/files.h"

TEST_F(AdminTool, ReportReadsTheLogOfTheLastDaysAndLeavesItAsItWas) {
  const std::string log =
      "01/12/2026 08:00 - carol - Process Started - User carol\n"
      "05/12/2026 08:00 - alice - Process Started - User alice\n"
      "05/12/2026 09:30 - alice - User alice, Time 20\n"
      "not a log line\n"
      "06/12/2026 08:00 - alice - Process Started - User alice\n"
      "06/12/2026 08:05 - alice - Guard restarted Orrindale - User alice\n";
  test_files::writeBytes(logPath, log);

  const Result text = run({"report", "--days", "2"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("its last line 05/12/2026 09:30"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("carol"), std::string::npos) << "carol's day is outside the window";

  const Result json = run({"report", "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"account\": \"carol\""), std::string::npos) << "a week by default: " << json.out;
  EXPECT_NE(json.out.find("\"guardRestarts\": 1"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"unreadLines\": 1"), std::string::npos) << json.out;
  EXPECT_EQ(test_files::readBytes(logPath), log);

  for (const char* days : {"0", "x", "3661", "-1"})
    EXPECT_EQ(run({"report", "--days", days}).status, 1) << days;
  test_files::remove(logPath);
  const Result missing = run({"report"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot read the activity log"), std::string::npos) << missing.err;
  EXPECT_FALSE(test_files::exists(logPath));
}
