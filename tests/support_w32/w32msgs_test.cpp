// Framework warnings and fatal errors: the box's text, silencing a code, the clean-up list,
// names and version from keys, and the crash report a fatal error leaves.
#include "support/w32msgs.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gui/message_box.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/support_w32/crash_report.h"

namespace {

const std::string kWarningTitle = "Larkspur AppWindow - Error Warning";
const std::string kFatalTitle = "Larkspur AppWindow - Fatal Error";
const std::string kVersionLine = "\n\nLarkspur v1.0.0 07-Dec-2026";
const std::string kInstructions =
    "\n\nPress\n  [ YES ]  to continue,\n  [ NO ] to ignore repeats, or\n  [ Cancel ]  to quit.";

struct CleanUpCall {
  int routine;  // 1 for r1, 2 for r2
  int code;
  std::string text;
  int position;
  bool last;
  bool operator==(const CleanUpCall&) const = default;
  friend void PrintTo(const CleanUpCall& call, std::ostream* out) {
    *out << "r" << call.routine << "(" << call.code << ", \"" << call.text << "\", " << call.position << ", "
         << call.last << ")";
  }
};

std::vector<CleanUpCall> vCalls;
int vR2Result = 0;

// Two distinct routines, r1 and r2: the clean-up list tells routines apart by address.
template <int N>
int recordR(int code, const std::string& text, int position, bool last) {
  vCalls.push_back({N, code, text, position, last});
  return N == 2 ? vR2Result : 0;
}

// In a death test's child the calls can only be seen in its error output.
template <int N>
int printR(int code, const std::string&, int position, bool last) {
  std::fprintf(stderr, "r%d:%d:%d:%d;", N, code, position, last);
  return 0;
}

DialogAnswerer* vChildAnswerer = nullptr;

// Writes what the child's answerer saw, and whether the box had the stop icon.
int printBoxes(int, const std::string&, int, bool) {
  for (const SeenBox& box : vChildAnswerer->answered())
    std::fprintf(stderr, "%s hand=%d;", box.describe().c_str(), box.icon == LoadIconA(nullptr, IDI_HAND));
  std::fprintf(stderr, "boxes=%d;", static_cast<int>(vChildAnswerer->answered().size()));
  return 0;
}

// What a report is shown with before the framework's start hands in its message box.
const ReportPresenter kBeforeTheFramework = r_presentReport;

class W32Msgs : public testing::Test {
 protected:
  void SetUp() override {
    r_presentReport = message_box;  // as the framework's start does
    vCalls.clear();
    vR2Result = 0;
    vMsgsToIgnore.clear();
    std::filesystem::remove(crashReportPath());
  }
  void TearDown() override {
    for (CleanUpRoutine routine :
         std::initializer_list<CleanUpRoutine>{recordR<1>, recordR<2>, printR<1>, printR<2>, printBoxes})
      while (detachCleanUp(routine) > 0) {
      }
    vMsgsToIgnore.clear();
    std::filesystem::remove(crashReportPath());
  }
};

}  // namespace

TEST_F(W32Msgs, WarningShowsCodeMessageInstructionsAndVersion) {
  DialogAnswerer answerer(kWarningTitle, IDYES);
  warnErr({"getHandle failed.", 495});
  const auto boxes = answerer.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Error code 495\ngetHandle failed." + kInstructions + kVersionLine);
  EXPECT_TRUE(boxes[0].hasButton(IDYES) && boxes[0].hasButton(IDNO) && boxes[0].hasButton(IDCANCEL));
  EXPECT_EQ(boxes[0].icon, LoadIconA(nullptr, IDI_EXCLAMATION));
  EXPECT_TRUE(vMsgsToIgnore.empty());
}

TEST_F(W32Msgs, BeforeTheFrameworkStartsAReportGoesToTheErrorOutputAndCountsAsYes) {
  r_presentReport = kBeforeTheFramework;
  testing::internal::CaptureStderr();
  warnErr({"getHandle failed.", 495});
  const std::string output = testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find("Larkspur AppWindow - Error Warning\nError code 495\ngetHandle failed."), std::string::npos)
      << output;
  EXPECT_TRUE(vMsgsToIgnore.empty()) << "no box: nothing was silenced";
}

TEST_F(W32Msgs, NoSilencesThatCodeOnly) {
  DialogAnswerer answerer(kWarningTitle, IDNO);
  warnErr({"getHandle failed.", 495});
  warnErr({"getHandle failed.", 495});
  warnErr("A plain text report.");
  const auto boxes = answerer.finish();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "A plain text report." + kInstructions + kVersionLine);
  // Every plain text has code 0, so one No silences them all.
  EXPECT_EQ(vMsgsToIgnore, (std::vector<int>{495, 0}));
}

TEST_F(W32Msgs, EmptyTextRunsTheCleanUpSilentlyAndReturns) {
  DialogAnswerer answerer(kFatalTitle, IDOK);
  EXPECT_EQ(attachCleanUp(recordR<1>), 1);
  EXPECT_EQ(attachCleanUp(recordR<2>), 2);
  abortErr("");
  EXPECT_EQ(vCalls, (std::vector<CleanUpCall>{{2, 0, "", 1, false}, {1, 0, "", 2, true}}));

  vCalls.clear();
  vR2Result = -1;
  abortErr("");
  EXPECT_EQ(vCalls, (std::vector<CleanUpCall>{{2, 0, "", 1, false}}));
  EXPECT_TRUE(answerer.finish().empty());
}

TEST_F(W32Msgs, DetachReportsTheLengthLeftOrMinusOne) {
  EXPECT_EQ(attachCleanUp(nullptr), -1);
  EXPECT_EQ(detachCleanUp(recordR<1>), -1);
  attachCleanUp(recordR<1>);
  attachCleanUp(recordR<2>);
  EXPECT_EQ(detachCleanUp(recordR<1>), 1);
  EXPECT_EQ(detachCleanUp(recordR<1>), -1);
  EXPECT_EQ(detachCleanUp(recordR<2>), 0);
  EXPECT_EQ(detachCleanUp(recordR<2>), -1);
  abortErr("");
  EXPECT_TRUE(vCalls.empty());
}

TEST_F(W32Msgs, NamesAndVersionComeFromKeysInAnyCase) {
  testing::internal::CaptureStdout();
  Init_UI_Msgs({{"appname", "Test Name"}, {"AppVersion", "Test v2 Beta"}, {"Other", "ignored"}});
  const std::string printed = testing::internal::GetCapturedStdout();
  DialogAnswerer answerer("Test Name - Error Warning", IDYES);
  warnErr("Checked.");
  const auto boxes = answerer.finish();
  Init_UI_Msgs({{"AppName", "Larkspur AppWindow"}, {"AppVersion", "Larkspur v1.0.0 07-Dec-2026"}});
  EXPECT_EQ(printed, "Test v2 Beta\n");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Checked." + kInstructions + "\n\nTest v2 Beta");
}

using W32MsgsDeathTest = W32Msgs;

TEST_F(W32MsgsDeathTest, FatalErrorRunsTheCleanUpAndLeavesACrashReport) {
  const std::string displayed =
      "Error code 499\ngetHandle:The stored hWnd for id 7 is now attached to id 9" + kVersionLine;
  EXPECT_EXIT(
      {
        DialogAnswerer answerer(kFatalTitle, IDOK);
        vChildAnswerer = &answerer;
        attachCleanUp(printR<1>);
        attachCleanUp(printR<2>);
        attachCleanUp(printBoxes);
        abortErr({"getHandle:The stored hWnd for id %d is now attached to id %d", 499, {7, 9}});
      },
      testing::ExitedWithCode(1),
      "title=.Larkspur AppWindow - Fatal Error. buttons=.1 . pressed=1 hand=1;boxes=1;r2:499:2:0;r1:499:3:1;");
  EXPECT_EQ(contents(crashReportPath()), displayed + "\n");
}

TEST_F(W32MsgsDeathTest, CancelQuitsLikeAFatalError) {
  EXPECT_EXIT(
      {
        DialogAnswerer answerer(kWarningTitle, IDCANCEL);
        attachCleanUp(printR<1>);
        attachCleanUp(printR<2>);
        warnErr({"ScreenToClient failed.", 426});
      },
      testing::ExitedWithCode(1), "r2:426:1:0;r1:426:2:1;");
  EXPECT_TRUE(std::filesystem::exists(crashReportPath()));
}

TEST_F(W32MsgsDeathTest, SilencedFatalErrorIsNotShownButStillEnds) {
  EXPECT_EXIT(
      {
        DialogAnswerer answerer(kFatalTitle, IDOK);
        vChildAnswerer = &answerer;
        attachCleanUp(printBoxes);
        vMsgsToIgnore.push_back(440);
        abortErr({"AppendMenu in createMenuItem failed.", 440});
      },
      testing::ExitedWithCode(1), "boxes=0;");
  EXPECT_EQ(contents(crashReportPath()), "Error code 440\nAppendMenu in createMenuItem failed.\n");
}
