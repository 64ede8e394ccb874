// The allowed hours as plain data: the tool's words, the stored text, and the rules at a moment.
#include "accounting/hours/allowed_hours.h"

#include <gtest/gtest.h>

namespace {
constexpr int kSunday = 1;
constexpr int kMonday = 2;
constexpr int kTuesday = 3;
constexpr int kSaturday = 7;

// 16 March 2026 is a Monday; 31 January 2026 a Saturday.
Moment monday(int hour, int minute) {
  return {20260316, kMonday, hour * 60 + minute};
}

AllowedHours hoursOf(const std::vector<std::string>& words) {
  AllowedHours hours;
  const std::string problem = setHoursProblem(words, hours);
  EXPECT_EQ(problem, "");
  return hours;
}
}  // namespace

TEST(AllowedHours, ToolWordsSetTheNamedDaysLaterOnesWinningAndTheOthersKeepWhatTheyHad) {
  AllowedHours hours = hoursOf({"Mon-Fri=15:00-20:30,07:00-08:00", "sat,SUN=Any", "Wed=none"});
  EXPECT_EQ(
      hoursShowLines(hours),
      (std::vector<std::string>{"Sun any", "Mon 07:00-08:00,15:00-20:30", "Tue 07:00-08:00,15:00-20:30", "Wed none",
                                "Thu 07:00-08:00,15:00-20:30", "Fri 07:00-08:00,15:00-20:30", "Sat any"}));
  // A range may wrap round the end of the week; the days outside it keep their hours.
  ASSERT_EQ(setHoursProblem({"Fri-Mon=08:00-21:30", "Tue=00:00-24:00"}, hours), "");
  EXPECT_EQ(hoursShowLines(hours),
            (std::vector<std::string>{"Sun 08:00-21:30", "Mon 08:00-21:30", "Tue any", "Wed none",
                                      "Thu 07:00-08:00,15:00-20:30", "Fri 08:00-21:30", "Sat 08:00-21:30"}));
  ASSERT_EQ(setHoursProblem({"all=any"}, hours), "");
  EXPECT_EQ(hours, AllowedHours{});
}

TEST(AllowedHours, EachFaultyWordIsRefusedWithOneSentenceAndChangesNothing) {
  const std::vector<std::pair<std::string, std::string>> faults{
      {"Mon=23:75-24:00", "\"23:75\" is not a time"},
      {"Mon=07:00-23:60", "\"23:60\" is not a time"},
      {"Mon=7:00-08:00", "\"7:00\" is not a time"},
      {"Mon=24:00-24:00", "starts at 24:00, which is only an end"},
      {"Mon=20:00-19:00", "\"20:00-19:00\" does not end after it starts"},
      {"Mon=08:00-08:00", "does not end after it starts"},
      {"Mon=07:00-09:00,08:00-10:00", "07:00-09:00 and 08:00-10:00 overlap"},
      {"Mon=08:00-09:00,07:00-08:00", "touch: write them as one period, 07:00-09:00"},
      {"Mon=01:00-02:00,03:00-04:00,05:00-06:00,07:00-08:00", "has 4 periods; a day has at most 3"},
      {"Mon=any,07:00-08:00", "\"any\" is not a period"},
      {"Mon=", "no hours given"},
      {"Mnd=any", "\"Mnd\" is not a day"},
      {"Mon-Fri-Sat=any", "\"Mon-Fri-Sat\" is not a day"},
      {"Sat,=any", "\"\" is not a day"},
      {"Mon07:00-08:00", "is not DAYS=HOURS"},
  };
  const AllowedHours before = hoursOf({"Sun=09:00-10:00"});
  for (const auto& [word, expected] : faults) {
    AllowedHours hours = before;
    // A sound word before the faulty one is not applied either.
    const std::string problem = setHoursProblem({"all=none", word}, hours);
    EXPECT_NE(problem.find(expected), std::string::npos) << word << ": " << problem;
    EXPECT_EQ(problem.find('\n'), std::string::npos) << word;
    EXPECT_EQ(hours, before) << word;
  }
}

TEST(AllowedHours, TheStorageTextReadsBackAndEmptyTextIsTheWholeOfEveryDay) {
  const AllowedHours hours = hoursOf({"Mon-Fri=07:00-08:00,15:00-20:30", "Sat=none", "Sun=20:00-24:00"});
  const std::string text = hoursStorageText(hours);
  EXPECT_EQ(text,
            "hours1 Sun=20:00-24:00 Mon=07:00-08:00,15:00-20:30 Tue=07:00-08:00,15:00-20:30 "
            "Wed=07:00-08:00,15:00-20:30 Thu=07:00-08:00,15:00-20:30 Fri=07:00-08:00,15:00-20:30 Sat=none");
  AllowedHours read = hoursOf({"all=none"});
  EXPECT_TRUE(readHoursText(text, read));
  EXPECT_EQ(read, hours);
  EXPECT_TRUE(readHoursText("", read));
  EXPECT_EQ(read, AllowedHours{});
  EXPECT_TRUE(hoursAt(read, monday(3, 0)).inside);
}

TEST(AllowedHours, ADamagedStorageTextKeepsTheAccountOutsideItsHoursUntilTheyAreSetAgain) {
  const std::string sound = hoursStorageText(AllowedHours{});
  const std::vector<std::string> damaged{
      "hours1 Sun=any Mon=any",                                                              // cut short
      "hours2" + sound.substr(6),                                                            // another version
      sound + " ",                                                                           // a stray blank
      sound + "\n",                                                                          // a line end
      "hours1 Sun=ANY Mon=any Tue=any Wed=any Thu=any Fri=any Sat=any",                      // not as a save writes
      "hours1 Mon=any Sun=any Tue=any Wed=any Thu=any Fri=any Sat=any",                      // days out of order
      "hours1 Sun=any Mon=15:00-20:30,07:00-08:00 Tue=any Wed=any Thu=any Fri=any Sat=any",  // unsorted
      "hours1 Sun=any Mon=07:00-09:00,08:00-10:00 Tue=any Wed=any Thu=any Fri=any Sat=any",  // overlapping
      "hours1 Sun=any Mon=23:75-24:00 Tue=any Wed=any Thu=any Fri=any Sat=any",              // no time
      "any",
  };
  for (const std::string& text : damaged) {
    AllowedHours hours;
    EXPECT_FALSE(readHoursText(text, hours)) << text;
    EXPECT_TRUE(hours.damaged) << text;
    EXPECT_FALSE(hoursAt(hours, monday(12, 0), {20260316, 1440}).inside) << text;
    EXPECT_EQ(hoursShowLines(hours)[1], "Mon damaged") << text;
  }
  // Setting any day repairs it; the days not named stay without use.
  AllowedHours hours;
  readHoursText(damaged[0], hours);
  ASSERT_EQ(setHoursProblem({"Mon=any"}, hours), "");
  EXPECT_FALSE(hours.damaged);
  EXPECT_TRUE(hoursAt(hours, monday(12, 0)).inside);
  EXPECT_FALSE(hoursAt(hours, {20260317, kTuesday, 12 * 60}).inside);
  EXPECT_EQ(damagedHoursLine("kid"),
            "**** ALLOWED HOURS DAMAGED - User kid is kept outside them until they are set again ****");
}

TEST(AllowedHours, APeriodLimitsTheMinutesLeftAndWarnsTenAndTwoMinutesBeforeItsEnd) {
  const AllowedHours hours = hoursOf({"all=07:00-08:00,15:00-20:30"});
  EXPECT_FALSE(hoursAt(hours, monday(6, 59)).inside);
  EXPECT_FALSE(hoursAt(hours, monday(8, 0)).inside) << "a period's end is not in it";
  EXPECT_EQ(timeLeftToday(120, hoursAt(hours, monday(8, 0))).minutes, 0);
  const HoursNow morning = hoursAt(hours, monday(7, 0));
  EXPECT_TRUE(morning.inside);
  EXPECT_EQ(morning.endClock, 8 * 60);
  EXPECT_EQ(morning.minutesToEnd, 60);

  const HoursNow evening = hoursAt(hours, monday(20, 0));
  EXPECT_EQ(untilText(timeLeftToday(120, evening)), "until 20:30");
  EXPECT_EQ(timeLeftToday(120, evening).minutes, 30);
  EXPECT_EQ(untilText(timeLeftToday(20, evening)), "") << "the day's minutes run out first";
  EXPECT_EQ(timeLeftToday(20, evening).minutes, 20);
  EXPECT_EQ(logOffText(evening), "Orrindale will log you off at 20:30");

  HoursWarningsShown shown;
  std::vector<std::pair<int, HoursWarning>> given;
  for (int minute = 20 * 60; minute < 20 * 60 + 30; ++minute) {
    const HoursWarning due = hoursWarningDue(hoursAt(hours, {20260316, kMonday, minute}), 600, shown);
    if (due != HoursWarning::None)
      given.emplace_back(minute, due);
  }
  EXPECT_EQ(given, (std::vector<std::pair<int, HoursWarning>>{{20 * 60 + 20, HoursWarning::First},
                                                              {20 * 60 + 28, HoursWarning::Second}}));
  // The same end on the next day warns again; a logon two minutes before an end gets only the
  // later warning; no warning when the day's minutes end first.
  EXPECT_EQ(hoursWarningDue(hoursAt(hours, {20260317, kTuesday, 20 * 60 + 20}), 600, shown), HoursWarning::First);
  HoursWarningsShown late;
  EXPECT_EQ(hoursWarningDue(hoursAt(hours, monday(20, 29)), 600, late), HoursWarning::Second);
  EXPECT_EQ(hoursWarningDue(hoursAt(hours, monday(20, 29)), 600, late), HoursWarning::None);
  HoursWarningsShown spent;
  EXPECT_EQ(hoursWarningDue(hoursAt(hours, monday(20, 25)), 3, spent), HoursWarning::None);
}

TEST(AllowedHours, APeriodEndingAt2400GoesOnIntoTheNextDaysPeriodFromMidnight) {
  // 31 January 2026 is a Saturday: the end falls in the next month.
  const Moment saturdayNight{20260131, kSaturday, 23 * 60 + 50};
  const AllowedHours onward = hoursOf({"Sat=20:00-24:00", "Sun=00:00-01:00,10:00-11:00"});
  const HoursNow now = hoursAt(onward, saturdayNight);
  EXPECT_TRUE(now.inside);
  EXPECT_EQ(now.endDate, 20260201);
  EXPECT_EQ(now.endClock, 60);
  EXPECT_EQ(now.minutesToEnd, 70);
  HoursWarningsShown shown;
  EXPECT_EQ(hoursWarningDue(now, 600, shown), HoursWarning::None) << "no warning at midnight";
  EXPECT_EQ(hoursWarningDue(hoursAt(onward, {20260201, kSunday, 50}), 600, shown), HoursWarning::First);

  const AllowedHours stops = hoursOf({"Sat=20:00-24:00", "Sun=08:00-09:00"});
  const HoursNow ending = hoursAt(stops, saturdayNight);
  EXPECT_EQ(ending.minutesToEnd, 10);
  EXPECT_EQ(logOffText(ending), "Orrindale will log you off at 24:00");

  // Whole days all week have no end at all; one limited day ahead gives the end there.
  const HoursNow always = hoursAt(AllowedHours{}, saturdayNight);
  EXPECT_TRUE(always.inside);
  EXPECT_FALSE(always.limited);
  EXPECT_EQ(untilText(timeLeftToday(300, always)), "");
  const HoursNow untilTuesday = hoursAt(hoursOf({"Tue=00:00-06:00"}), saturdayNight);
  EXPECT_EQ(untilTuesday.endDate, 20260203);
  EXPECT_EQ(untilTuesday.minutesToEnd, 10 + 2 * 1440 + 360);
}

TEST(AllowedHours, AnExtensionLengthensTodayOnlyAndNeverPast2400) {
  const AllowedHours hours = hoursOf({"all=15:00-20:30", "Sun=none"});
  // Approved inside the period: it runs on from the period's end, as one period.
  const HoursExtension extension = extendedHours(hours, monday(20, 25), {}, 30);
  EXPECT_EQ(extension, (HoursExtension{20260316, 21 * 60}));
  EXPECT_EQ(extensionText(extension), "until 21:00 today");
  const HoursNow extended = hoursAt(hours, monday(20, 25), extension);
  EXPECT_EQ(extended.endClock, 21 * 60);
  EXPECT_TRUE(hoursAt(hours, monday(20, 59), extension).inside);
  EXPECT_FALSE(hoursAt(hours, monday(21, 0), extension).inside);
  EXPECT_FALSE(hoursAt(hours, {20260317, kTuesday, 20 * 60 + 45}, extension).inside) << "it ends with its day";

  // Approved outside the hours: from the moment, growing the day's extension.
  EXPECT_EQ(extendedHours(hours, monday(21, 10), extension, 30), (HoursExtension{20260316, 21 * 60 + 40}));
  EXPECT_EQ(extendedHours(hours, monday(23, 50), extension, 60), (HoursExtension{20260316, 1440}));
  const HoursExtension sunday = extendedHours(hours, {20260315, kSunday, 10 * 60}, {}, 15);
  EXPECT_TRUE(hoursAt(hours, {20260315, kSunday, 10 * 60 + 14}, sunday).inside);
  EXPECT_FALSE(hoursAt(hours, {20260315, kSunday, 10 * 60 + 15}, sunday).inside);

  // Nothing to lengthen in a period that ends at midnight; nothing for a damaged schedule.
  const AllowedHours late = hoursOf({"all=20:00-24:00"});
  EXPECT_EQ(extendedHours(late, monday(22, 0), {}, 30), HoursExtension{});
  AllowedHours damaged;
  readHoursText("hours1", damaged);
  EXPECT_EQ(extendedHours(damaged, monday(12, 0), {}, 30), HoursExtension{});

  HoursExtension read;
  EXPECT_TRUE(readExtensionText(extensionStorageText(extension), read));
  EXPECT_EQ(read, extension);
  for (const char* text : {"20260316 21:60", "20260230 21:00", "20260316 00:00", "20260316  21:00", "x"}) {
    EXPECT_FALSE(readExtensionText(text, read)) << text;
    EXPECT_EQ(read, HoursExtension{}) << text;
  }
}
