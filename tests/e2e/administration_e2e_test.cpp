// The supervisor's side of the real program: the password gate, the password change, the
// Update data grid, the "Allow New Users" option and the Hours page, driven through the windows as
// typed and clicked, and checked in the data file and the hours file.
#include <algorithm>

#include "accounting/data_file/hours_file.h"
#include "accounting/hours/supervisor_hours.h"
#include "accounting/table/password_hash.h"
#include "runtime/clock.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/fixtures/files.h"

namespace {

HWND visibleButton(HWND window, const std::string& caption) {
  for (HWND button : controlsOf(window, "Button", caption))
    if (IsWindowVisible(button))
      return button;
  return nullptr;
}

// The Security tab's edits, top to bottom: old, new, confirmation.
std::vector<HWND> passwordEdits(HWND main) {
  std::vector<HWND> masked;
  for (HWND edit : visibleControlsInReadingOrder(main, "Edit"))
    if (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD)
      masked.push_back(edit);
  return masked;
}

int todaysColumn() {
  return 2 + rt::localNow().weekday;  // Sunday is the third cell of a row
}

}  // namespace

TEST_F(OrrindaleEndToEnd, ThePasswordGateTakesOnlyTheExactPassword) {
  prepareDataFile("0040");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  HWND gate = program.window(kPasswordWindow);
  HWND main = program.window(kMainWindow);
  ASSERT_TRUE(showPasswordWindow(program));
  HWND edit = controlsOf(gate, "Edit").at(0);

  for (const char* wrong : {"QuillSun", "quillsun "}) {
    clickInto(edit);
    typeInto(edit, wrong);
    pressKey(edit, VK_RETURN);
    EXPECT_EQ(answerBox(program, "Enter Password"), "Incorrect Password") << wrong;
    EXPECT_TRUE(IsWindowVisible(gate));
  }
  clickInto(edit);
  typeInto(edit, "quillsun");
  EXPECT_FALSE(IsWindowVisible(main)) << "typing alone never submits";

  // Changed from outside while the window was closed: the grid shows the file as it is now.
  prepareDataFile("0033");
  ASSERT_TRUE(submitPassword(program, "quillsun", true));
  chooseMenu(main, 't', 'm');  // Tools, Manage Data
  ASSERT_TRUE(waitUntil([&] { return gridCell(main, 1, 1) != nullptr; }));
  EXPECT_EQ(textOf(gridCell(main, 1, 1)), "0033");
}

TEST_F(OrrindaleEndToEnd, ThePasswordChangeChecksTheOldAndTheConfirmation) {
  prepareDataFile("0040");
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  ASSERT_TRUE(openAdministration(program, "quillsun"));
  HWND main = program.window(kMainWindow);
  chooseMenu(main, 't', 'c');  // Tools, Change Password
  ASSERT_TRUE(waitUntil([&] { return passwordEdits(main).size() == 3; }));
  const auto edits = passwordEdits(main);
  HWND apply = visibleButton(main, "Apply");

  typeInto(edits[0], "wrong");
  typeInto(edits[1], "one");
  typeInto(edits[2], "two");
  click(apply);
  EXPECT_EQ(answerBox(program, "Change Password"), "Wrong Password");

  typeInto(edits[0], "quillsun");
  click(apply);
  EXPECT_EQ(answerBox(program, "Change Password"), "New passwords don't match");
  EXPECT_TRUE(passwordOpens(dataFile().password, "quillsun"));

  typeInto(edits[1], "sixsix");
  typeInto(edits[2], "sixsix");
  click(apply);
  EXPECT_EQ(answerBox(program, "Change Password"), "Password changed");

  // Any password is taken here; one shorter than 6 characters is warned about.
  typeInto(edits[0], "sixsix");
  typeInto(edits[1], "");
  typeInto(edits[2], "");
  click(apply);
  ASSERT_NE(waitForBox(program.id(), "Change Password"), nullptr);
  const std::string stored = dataFile().password;
  EXPECT_TRUE(isPasswordHash(stored) && passwordOpens(stored, "")) << "saved, hashed, before the box shows";
  EXPECT_EQ(answerBox(program, "Change Password"),
            "Password changed. It is shorter than 6 characters and easy to guess: a longer one is safer.");

  chooseMenu(main, 'f', 'x');  // File, Exit
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
  ASSERT_TRUE(openAdministration(program, "")) << "the empty password now opens it";
}

TEST_F(OrrindaleEndToEnd, TheGridStoresCellsAsTypedAndReadRefreshesOnlyTheTimes) {
  prepareDataFile("0040", [](UsageTable& table) {
    table.user(2).field(kAccount) = "bob";
    table.user(2).field(kMinutesLeft) = "0020";
    for (int day = 0; day < kDays; ++day)
      table.user(2).field(kSundayAllowance + day) = "45";
  });
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  ASSERT_TRUE(openAdministration(program, "quillsun"));
  HWND main = program.window(kMainWindow);
  chooseMenu(main, 't', 'm');
  ASSERT_TRUE(waitUntil([&] { return gridCell(main, 2, 0) && textOf(gridCell(main, 2, 0)) == "bob"; }));

  // Read: the time column follows the file, an edited allowance cell keeps what was typed.
  typeInto(gridCell(main, 1, todaysColumn()), "77");
  prepareDataFile("0021");
  click(visibleButton(main, "Read"));
  EXPECT_TRUE(waitUntil([&] { return textOf(gridCell(main, 1, 1)) == "0021"; }));
  EXPECT_EQ(textOf(gridCell(main, 1, todaysColumn())), "77");

  // Apply: "abc" is stored as typed; a cleared account frees its slot.
  typeInto(gridCell(main, 1, todaysColumn()), "abc");
  typeInto(gridCell(main, 2, 0), "");
  click(visibleButton(main, "Apply"));
  ASSERT_TRUE(waitUntil([&] { return dataFile().user(1).field(kSundayAllowance + rt::localNow().weekday) == "abc"; }));
  EXPECT_EQ(dataFile().user(2).field(kAccount), "");
  EXPECT_EQ(dataFile().user(2).field(kSundayAllowance), "45") << "the grid's cells, not the file's, are stored";

  OrrindaleProcess carol("carol", "ATHLON", "2");
  EXPECT_EQ(answerBox(carol, "New user"), "New user carol has been created\nUsing default time settings");
  ASSERT_TRUE(started(carol, "carol"));
  EXPECT_TRUE(waitUntil([&] { return dataFile().user(2).field(kAccount) == "carol"; }));
}

TEST_F(OrrindaleEndToEnd, AllowNewUsersShowsTheFlagInvertedAndStoresIt) {
  for (const char* flag : {"0", "", "yes", "1"}) {
    static std::string vFlag;
    vFlag = flag;
    prepareDataFile("0040", [](UsageTable& table) { table.option(kNewUserFlag) = vFlag; });
    test_files::remove(vSession.logPath);  // a fresh start-up line for each run
    OrrindaleProcess program("alice", "ATHLON", "2");
    ASSERT_TRUE(started(program));
    ASSERT_TRUE(openAdministration(program, "quillsun"));
    HWND main = program.window(kMainWindow);
    chooseMenu(main, 't', 'c');  // the Security tab, then one tab to the right
    PostMessageA(controlsOf(main, "SysTabControl32").at(0), WM_KEYDOWN, VK_RIGHT, 0);
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = visibleButton(main, "Allow New Users")) != nullptr; }));
    const bool checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EXPECT_EQ(checked, vFlag != "1") << "flag '" << vFlag << "'";

    // Apply stores the inverse of the box: "0" when checked, "1" when not.
    click(box);
    ASSERT_TRUE(waitUntil([&] { return (SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != checked; }));
    click(visibleButton(main, "Apply"));
    const std::string stored = checked ? "1" : "0";
    EXPECT_TRUE(waitUntil([&] { return dataFile().option(kNewUserFlag) == stored; })) << "flag '" << vFlag << "'";
  }
}

TEST_F(OrrindaleEndToEnd, TheHoursPageSavesADaysHoursRefusesBadOnesWithTheReasonAndRepairsADamagedFile) {
  prepareDataFile("0040");
  const std::string hoursFile = hoursFileBeside(vSession.dataFilePath);
  OrrindaleProcess program("alice", "ATHLON", "2");
  ASSERT_TRUE(started(program));
  ASSERT_TRUE(openAdministration(program, "quillsun"));
  HWND main = program.window(kMainWindow);
  ASSERT_TRUE(showHoursPage(main));
  EXPECT_EQ(SendMessageA(visibleButton(main, "alice"), BM_GETCHECK, 0, 0), BST_CHECKED) << "the program's own account";
  const auto says = [&](const std::string& start, const std::string& end = "") {
    const auto texts = controlsOf(main, "Static");
    return std::any_of(texts.begin(), texts.end(),
                       [&](HWND text) { return textOf(text).starts_with(start) && textOf(text).ends_with(end); });
  };
  EXPECT_TRUE(says("Today alice has ", " minutes left")) << "what applies today: no period ends before the minutes do";
  const int tomorrow = (rt::localNow().weekday + 1) % kDays;  // never the hours in force now
  HWND day = hoursDayEdit(main, tomorrow);
  ASSERT_NE(day, nullptr);
  EXPECT_EQ(textOf(day), "any");

  typeInto(day, "07:00-08:00,23:75-24:00");
  click(visibleButton(main, "Apply"));
  EXPECT_EQ(answerBox(program, "Hours"), std::string(dayName(tomorrow + 1)) +
                                             ": \"23:75\" is not a time: hours go from 00 to 23 and minutes from 00 "
                                             "to 59 (24:00 only as an end).\nNothing was changed.");
  EXPECT_FALSE(test_files::exists(hoursFile));

  typeInto(day, "15:00-20:30, 07:00-08:00");
  click(visibleButton(main, "Apply"));
  HoursBook book;
  ASSERT_TRUE(
      waitUntil([&] { return loadHoursFile(book).kind == HoursLoad::Loaded && book.accounts.contains("alice"); }));
  EXPECT_EQ(dayHoursText(book.accounts["alice"].day(tomorrow + 1)), "07:00-08:00,15:00-20:30");
  EXPECT_TRUE(waitUntil([&] { return textOf(day) == "07:00-08:00,15:00-20:30"; })) << "shown as kept";
  EXPECT_TRUE(waitUntil([&] {
    return logHas(" - alice - Administration window - " + hoursSetSentence("alice", book.accounts["alice"]));
  }));

  // The default's hours are another choice.
  click(visibleButton(main, "Default for new accounts"));
  EXPECT_TRUE(waitUntil([&] { return textOf(day) == "any"; }));

  // A damaged file is said so and shows what could be read; Apply writes it sound.
  const std::string kept = test_files::readBytes(hoursFile);
  test_files::writeBytes(hoursFile,
                         kept.substr(0, kept.find('\n') + 1) + "garbage\n" + kept.substr(kept.find('\n') + 1));
  chooseMenu(main, 'f', 'x');
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(main); }));
  ASSERT_TRUE(openAdministration(program, "quillsun"));
  ASSERT_TRUE(showHoursPage(main));
  click(visibleButton(main, "alice"));
  EXPECT_TRUE(waitUntil([&] { return textOf(day) == "07:00-08:00,15:00-20:30"; }));
  EXPECT_TRUE(says("The hours file is damaged"));
  click(visibleButton(main, "Apply"));
  EXPECT_TRUE(waitUntil([&] { return test_files::readBytes(hoursFile) == kept; }));
  EXPECT_TRUE(waitUntil([&] { return says("Saved: the hours of alice"); }));
}
