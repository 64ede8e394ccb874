// The allowed hours as the administration window shows and takes them: seven day texts, the
// schedule a change starts from, and what applies today.
#include "accounting/hours/supervisor_hours.h"

#include <gtest/gtest.h>

namespace {
constexpr int kMonday = 2;

// 16 March 2026 is a Monday.
Moment monday(int hour, int minute) {
  return {20260316, kMonday, hour * 60 + minute};
}

DayTexts week(const std::string& monday) {
  return {"any", monday, "any", "any", "any", "any", "any"};
}
}  // namespace

TEST(SupervisorHours, SevenDayTextsReadBackAsTheySaveAndAFaultyDayIsNamedAndChangesNothing) {
  const DayTexts typed{" any", "15:00-20:30, 07:00 - 08:00", "NONE", "00:00-24:00", "08:00-09:00", "none", "any"};
  AllowedHours hours;
  ASSERT_EQ(readDayTexts(typed, hours), "");
  EXPECT_EQ(dayTexts(hours), (DayTexts{"any", "07:00-08:00,15:00-20:30", "none", "any", "08:00-09:00", "none", "any"}));

  const AllowedHours before = hours;
  for (const auto& [monday, expected] :
       {std::pair{"23:75-24:00", "Mon: \"23:75\" is not a time"},
        std::pair{"20:00-19:00", "Mon: the period \"20:00-19:00\" does not end"},
        std::pair{"07:00-09:00,08:00-10:00", "Mon: 07:00-09:00 and 08:00-10:00 overlap"},
        std::pair{"01:00-02:00,03:00-04:00,05:00-06:00,07:00-08:00",
                  "Mon: \"01:00-02:00,03:00-04:00,05:00-06:00,07:00-08:00\" has 4 periods"},
        std::pair{"", "Mon: no hours given"}}) {
    const std::string problem = readDayTexts(week(monday), hours);
    EXPECT_TRUE(problem.starts_with(expected)) << problem;
    EXPECT_EQ(hours, before) << monday;
  }

  // Damaged hours show as none, and what is read from the page is sound again.
  AllowedHours damaged;
  ASSERT_FALSE(readHoursText("hours1 garbage", damaged));
  ASSERT_EQ(readDayTexts(dayTexts(damaged), hours), "");
  EXPECT_FALSE(hours.damaged);
  EXPECT_EQ(dayTexts(hours), (DayTexts{"none", "none", "none", "none", "none", "none", "none"}));
}

TEST(SupervisorHours, AChangeStartsFromTheAccountsOwnHoursElseFromWhatItHasNow) {
  HoursBook book;
  ASSERT_EQ(setHoursProblem({"all=08:00-21:00"}, book.defaults), "");
  ASSERT_EQ(setHoursProblem({"Mon=15:00-20:30"}, book.accounts["kid"]), "");
  EXPECT_EQ(hoursToChange(book, "kid"), book.accounts["kid"]);
  EXPECT_EQ(hoursToChange(book, "newcomer"), book.defaults);
  EXPECT_EQ(hoursToChange(book, ""), book.defaults);
  book.damaged = true;
  EXPECT_EQ(hoursToChange(book, "kid"), book.accounts["kid"]) << "what could be read";
  EXPECT_TRUE(hoursToChange(book, "newcomer").damaged) << "outside its hours, as it is now";
}

TEST(SupervisorHours, TodaySaysTheMinutesLeftAndTheEndOfAPeriodWhenItComesFirst) {
  HoursBook book;
  ASSERT_EQ(setHoursProblem({"Mon=15:00-20:30"}, book.accounts["kid"]), "");
  EXPECT_EQ(todayText(book, "kid", 45, monday(20, 0)), "Today kid has 45 minutes left, until 20:30");
  EXPECT_EQ(todayText(book, "kid", 45, monday(16, 0)), "Today kid has 45 minutes left");
  EXPECT_EQ(todayText(book, "kid", 1, monday(16, 0)), "Today kid has 1 minute left");
  EXPECT_EQ(todayText(book, "kid", 45, monday(21, 0)), "Now kid is outside the allowed hours");
  book.extensions["kid"] = {20260316, 21 * 60 + 15};
  EXPECT_EQ(todayText(book, "kid", 45, monday(21, 0)), "Today kid has 45 minutes left, until 21:15");
  book.damaged = true;
  EXPECT_EQ(todayText(book, "kid", 45, monday(16, 0)), "Now kid is outside the allowed hours");
}
