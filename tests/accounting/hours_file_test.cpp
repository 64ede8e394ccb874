// The hours file beside the data file: what it keeps comes back whole (with the zone its hours
// are read in), no file is the whole day, and a damaged file keeps every account outside its hours until a change writes it again.
#include <gtest/gtest.h>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/hours_file.h"
#include "accounting/hours/hours_book.h"
#include "accounting/table/usage_table.h"
#include "tests/fixtures/accounting_fixture.h"
#include "tests/fixtures/files.h"
#include "tests/fixtures/sim_clock.h"

namespace {
AllowedHours hoursFrom(const std::vector<std::string>& words) {
  AllowedHours hours;
  EXPECT_EQ(setHoursProblem(words, hours), "");
  return hours;
}

// A sound book with a bit of everything: hours, a default, an extension and answered and open
// requests, with account names that need their hex.
HoursBook fullBook() {
  HoursBook book;
  book.accounts["kid"] = hoursFrom({"Mon-Fri=07:00-08:00,15:00-20:30", "Sat,Sun=08:00-24:00"});
  book.accounts["Big Kid"] = hoursFrom({"all=none"});
  book.defaults = hoursFrom({"all=09:00-18:00"});
  book.extensions["kid"] = {20261206, 21 * 60};
  book.zone = rt::ZoneRule{-60, 0, -60, {10, 0, 5, 0, 3, 0}, {3, 0, 5, 0, 2, 0}};
  int number = 0;
  EXPECT_EQ(askForTime(book.requests, "kid", 30, "essay, 2 pages", 20261206, 1000, number), "");
  EXPECT_EQ(approveRequest(book.requests, number, 45, 1100), "");
  EXPECT_EQ(askForTime(book.requests, "Big Kid", 15, "", 20261206, 1200, number), "");
  return book;
}
}  // namespace

TEST_F(AccountingTest, HoursFileRoundTripsAndNoFileIsTheWholeDayWithTheDataFileUntouched) {
  writeDataFile(std::vector<std::string>(kTableFields, "7"));
  const std::string dataBytes = test_files::readBytes(dataPath);

  HoursBook book = fullBook();
  ASSERT_EQ(loadHoursFile(book).kind, HoursLoad::Loaded);
  EXPECT_EQ(book, HoursBook{}) << "no file: no hours, no requests";
  EXPECT_EQ(hoursOf(book, "kid"), AllowedHours{}) << "the whole of every day";
  EXPECT_FALSE(test_files::exists(hoursPath)) << "reading makes no file";

  ASSERT_TRUE(saveHoursFile(fullBook()));
  EXPECT_EQ(test_files::lines(hoursPath).front(), "orrindale-hours 1");
  ASSERT_EQ(loadHoursFile(book).kind, HoursLoad::Loaded);
  EXPECT_EQ(book, fullBook());
  EXPECT_EQ(test_files::readBytes(dataPath), dataBytes);
  EXPECT_GE(LoadData(), kTableFields) << "the data file loads as it did";
  EXPECT_TRUE(logLines().empty());
}

TEST_F(AccountingTest, HoursSetKeepTheSystemsZoneAndOfAZoneTheFileCannotHoldItsStandardOffset) {
  const rt::ZoneRule europe{-60, 0, -60, {10, 0, 5, 0, 3, 0}, {3, 0, 5, 0, 2, 0}};
  const rt::ZoneRule oneSided{-60, 0, -60, {10, 0, 5, 0, 3, 0}, {}};
  for (const auto& [stated, kept] : {std::pair{europe, europe}, std::pair{oneSided, rt::ZoneRule{-60, 0, 0, {}, {}}}}) {
    sim_clock::stateSystemZone(stated);
    HoursBook book;
    setHoursInBook(book, "kid", hoursFrom({"all=08:00-20:30"}));
    ASSERT_TRUE(saveHoursFile(book));
    ASSERT_EQ(loadHoursFile(book).kind, HoursLoad::Loaded) << "never kept as damage";
    EXPECT_EQ(book.zone, kept);
  }
}

TEST_F(AccountingTest, DamagedHoursFileFailsClosedIsLoggedOnceAndAChangeWritesItSound) {
  const std::string sound = hoursBookText(fullBook());
  const Moment sundayNoon{20261206, 1, 12 * 60};
  for (const std::string& damage :
       {std::string(), sound.substr(0, sound.size() - 4), "orrindale-hours 2" + sound.substr(sound.find('\n')),
        sound + "6b6964 hours1 Sun=any\n",
        std::string(sound).replace(sound.find(" 10.0.5.0.3.0"), 3, " 13"),
        sound.substr(0, sound.find("requests1")) + "requests1 7\n1 6b6964 15 - 20261206 1 open 0 0\nend\n"}) {
    SCOPED_TRACE(damage);
    test_files::writeBytes(hoursPath, damage);
    HoursBook book;
    EXPECT_EQ(loadHoursFile(book).kind, HoursLoad::Damaged);
    EXPECT_TRUE(book.damaged);
    for (const char* account : {"kid", "Big Kid", "never set"})
      EXPECT_FALSE(hoursAt(hoursOf(book, account), sundayNoon).inside) << account;
  }
  // One line for all those reads; a sound read would let the next damage be logged again.
  ASSERT_EQ(logLines().size(), 1u);
  EXPECT_NE(logLines()[0].find("**** HOURS FILE DAMAGED - every user kept outside the hours - " + hoursPath),
            std::string::npos);

  // A garbled line of one account: the rest is read, and a change of another account writes the
  // file sound, the garbled account kept outside its hours until its own are set.
  std::string garbled = sound;
  const std::size_t kidLine = garbled.find("6b6964 hours1");
  garbled.replace(kidLine, garbled.find('\n', kidLine) - kidLine, "6b6964 hours1 Sun=25:00-26:00");
  test_files::writeBytes(hoursPath, garbled);
  ASSERT_EQ(saveHoursInFile("Big Kid", AllowedHours{}, "hours of Big Kid set: every day any").kind, SaveOutcome::Saved);
  HoursBook book;
  ASSERT_EQ(loadHoursFile(book).kind, HoursLoad::Loaded);
  EXPECT_TRUE(book.accounts.at("kid").damaged);
  EXPECT_FALSE(hoursAt(hoursOf(book, "kid"), sundayNoon).inside);
  EXPECT_TRUE(hoursAt(hoursOf(book, "Big Kid"), sundayNoon).inside);
  EXPECT_EQ(book.defaults, fullBook().defaults);
  EXPECT_EQ(book.requests, fullBook().requests);
  EXPECT_EQ(logLines().back(), "06/12/2026 09:05 - Admin - Admin tool - hours of Big Kid set: every day any");
}
