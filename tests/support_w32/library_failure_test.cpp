// A failure of the C++ library in a program built without exceptions: the replaced throw
// routines, operator new and abort end the process with the library's text, on the error
// output by default, and in Orrindale's crash report once the program has set its report.
#include "runtime/library_failure.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "support/w32msgs.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/support_w32/crash_report.h"

TEST(LibraryFailureDeathTest, APositionPastTheEndEndsWithTheLibrarysTextAndStatus3) {
  EXPECT_EXIT(
      {
        const std::string text = "ab";
        std::fputs(text.substr(3).c_str(), stdout);
      },
      testing::ExitedWithCode(3),
      "The C\\+\\+ library cannot go on: basic_string::substr: __pos \\(which is 3\\) > this->size\\(\\) \\(which is "
      "2\\)");
}

TEST(LibraryFailureDeathTest, NoMemoryLeftEndsTheSameWay) {
  EXPECT_EXIT(
      {
        void* volatile memory = ::operator new(std::numeric_limits<std::ptrdiff_t>::max() - 4096);
        std::free(memory);
      },
      testing::ExitedWithCode(3), "The C\\+\\+ library cannot go on: out of memory");
}

TEST(LibraryFailureDeathTest, OrrindalesReportIsItsCrashReportAndAnAbortReachesIt) {
  std::filesystem::remove(crashReportPath());
  EXPECT_EXIT(
      {
        DialogAnswerer answerer("Larkspur AppWindow - Fatal Error", IDOK);
        rt::onLibraryFailure(abortOnLibraryFailure);
        std::abort();  // where the library, without exceptions, cannot throw
      },
      testing::ExitedWithCode(1), "The C\\+\\+ library cannot go on: abort called");
  EXPECT_EQ(contents(crashReportPath()), "The C++ library cannot go on: abort called\n\nLarkspur v1.0.0 07-Dec-2026\n");
  std::filesystem::remove(crashReportPath());
}
