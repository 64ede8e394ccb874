// The guard's options: the real paths and timings without any, start arguments on top of the
// command line, and bad options refused.
#include "guard/guard_options.h"

#include <gtest/gtest.h>

TEST(GuardOptions, WithoutOptionsTheRealPathsAndTimingsHold) {
  GuardOptions options;
  readGuardOptions(options, {});
  EXPECT_EQ(options.dataFile, "c:\\Program Files\\Halvard\\HalvardDemo.dat");
  EXPECT_EQ(options.log, "c:\\Program Files\\Halvard\\debugDemo.log");
  EXPECT_EQ(options.intervalSeconds, 5);
  EXPECT_EQ(options.settings.graceSeconds, 180);
}

TEST(GuardOptions, StartArgumentsComeOnTopOfTheCommandLine) {
  GuardOptions options;
  readGuardOptions(options, {"--file", "d.dat", "--grace", "20"});
  readGuardOptions(options, {"--log", "l.log", "--grace", "2", "--interval", "1"});
  EXPECT_EQ(options.dataFile, "d.dat");
  EXPECT_EQ(options.log, "l.log");
  EXPECT_EQ(options.settings.graceSeconds, 2);
  EXPECT_EQ(options.intervalSeconds, 1);
}

TEST(GuardOptions, BadOptionsAreRefusedAndChangeNothing) {
  const std::vector<std::vector<std::string>> bad{
      {"--grace", "0"}, {"--interval", "-5"},          {"--grace", "2x"}, {"--interval", "86401"}, {"--log"},
      {"--fast"},       {"--file", "x", "--grace", ""}};
  for (const auto& arguments : bad) {
    GuardOptions options;
    readGuardOptions(options, arguments);
    EXPECT_FALSE(options.error.empty()) << arguments[0];
    EXPECT_EQ(options.dataFile, GuardOptions{}.dataFile);
    EXPECT_EQ(options.settings.graceSeconds, 180);
  }
}
