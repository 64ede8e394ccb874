// Asking for more time at the real program under Wine: a request sent from the tray icon's menu,
// answered by the administration tool or at the same computer in the answer window with the
// supervisor password, and the answer shown by the shell in a balloon from the tray icon.
#include <string>

#include "accounting/data_file/hours_file.h"
#include "runtime/processes.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/fixtures/files.h"

namespace {
class TimeRequestEndToEnd : public OrrindaleEndToEnd {
 protected:
  void SetUp() override {
    OrrindaleEndToEnd::SetUp();
    test_files::remove(hoursFileBeside(vSession.dataFilePath));  // no requests yet
  }

  // Opens the hidden ask window from the tray menu, picks the minutes and types the note.
  HWND askFor(OrrindaleProcess& program, const std::string& minutes, const std::string& note) {
    EXPECT_TRUE(chooseFromTrayMenu(program, 'a', kAskWindow));
    HWND ask = program.window(kAskWindow);
    const auto choice = controlsOf(ask, "Button", minutes + " minutes");
    const auto edits = controlsOf(ask, "Edit");
    if (choice.size() != 1 || edits.size() != 1)
      return nullptr;
    SendMessageA(choice[0], BM_CLICK, 0, 0);
    typeInto(edits[0], note);
    return ask;
  }

  // The tool's command line for the request, on the test's data file and log.
  static std::string toolLine(const std::string& command, int number) {
    return "\"" + test_files::besideTest("orrindale-admin") + "\" " + command + " " + std::to_string(number) +
           " --file \"" + vSession.dataFilePath + "\" --log \"" + vSession.logPath + "\"";
  }
};

HWND button(HWND window, const std::string& caption) {
  const auto found = controlsOf(window, "Button", caption);
  return found.size() == 1 ? found[0] : nullptr;
}

std::string labelText(HWND window, int index) {
  const auto labels = visibleControlsInReadingOrder(window, "Static");
  return index < static_cast<int>(labels.size()) ? textOf(labels[index]) : "";
}
}  // namespace

TEST_F(TimeRequestEndToEnd, ARequestSentFromTheTrayMenuAndApprovedByTheToolComesBackInABalloon) {
  prepareDataFile("0050");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  HWND ask = askFor(program, "30", std::string(120, 'x'));
  ASSERT_TRUE(ask);
  HWND note = controlsOf(ask, "Edit")[0];
  EXPECT_EQ(textOf(note), std::string(100, 'x')) << "the note takes no more than a request keeps";
  typeInto(note, "finish my essay");
  click(button(ask, "Send"));
  EXPECT_TRUE(waitUntil([&] { return labelText(ask, 2) == "Asked for 30 minutes - waiting"; })) << labelText(ask, 2);
  EXPECT_TRUE(logHas(" - alice - Request 1 - alice asks 30 minutes: finish my essay"));
  click(button(ask, "Cancel"));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(ask); }));

  // One request at a time: a second is refused with the reason.
  ASSERT_TRUE(askFor(program, "15", ""));
  DialogAnswerer refusal("Ask for More Time", IDOK, 20000, program.id());
  click(button(ask, "Send"));
  EXPECT_TRUE(waitUntil([&] { return !refusal.answered().empty(); }));
  const auto boxes = refusal.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Request 1 of alice is still waiting for an answer");
  click(button(ask, "Cancel"));

  ASSERT_EQ(rt::runCommand(toolLine("approve", 1)), 0);
  EXPECT_EQ(dataFile().user(1).field(kMinutesLeft), "79");
  minuteTick(program);
  EXPECT_TRUE(waitUntil([&] { return shownBalloon(program, "Request 1 approved: 30 more minutes today") != nullptr; }));
}

TEST_F(TimeRequestEndToEnd, TheAnswerWindowApprovesOnlyWithTheSupervisorPasswordAndTheBalloonSaysSo) {
  prepareDataFile("0050");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  HWND ask = askFor(program, "15", "");
  ASSERT_TRUE(ask);
  click(button(ask, "Send"));
  ASSERT_TRUE(waitUntil([&] { return labelText(ask, 2) == "Asked for 15 minutes - waiting"; }));
  click(button(ask, "Cancel"));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(ask); }));

  ASSERT_TRUE(chooseFromTrayMenu(program, 'n', kAnswerWindow));
  HWND answer = program.window(kAnswerWindow);
  EXPECT_EQ(labelText(answer, 0), "Request 1 from alice: 15 minutes");
  EXPECT_EQ(labelText(answer, 1), "No note");
  const auto edits = visibleControlsInReadingOrder(answer, "Edit");
  ASSERT_EQ(edits.size(), 2u);
  EXPECT_EQ(textOf(edits[0]), "15");
  typeInto(edits[0], "45");

  typeInto(edits[1], "Quillsun");
  DialogAnswerer wrong("Answer Request", IDOK, 20000, program.id());
  click(button(answer, "Approve"));
  EXPECT_TRUE(waitUntil([&] { return !wrong.answered().empty(); }));
  const auto boxes = wrong.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Incorrect Password");
  EXPECT_EQ(dataFile().user(1).field(kMinutesLeft), "0049") << "nothing given";
  EXPECT_TRUE(IsWindowVisible(answer));

  typeInto(edits[1], "quillsun");
  click(button(answer, "Approve"));
  EXPECT_TRUE(waitUntil([&] { return shownBalloon(program, "Request 1 approved: 45 more minutes today") != nullptr; }));
  EXPECT_FALSE(IsWindowVisible(answer));
  EXPECT_EQ(dataFile().user(1).field(kMinutesLeft), "94");
  EXPECT_TRUE(logHas(" - alice - Request 1 - approved, 45 minutes for alice"));
}
