#include "app_windows/hours_page.h"

#include <windows.h>

#include <string>

#include "accounting/hours/supervisor_hours.h"
#include "accounting/table/table_home.h"
#include "accounting/table/table_rules.h"
#include "app_windows/app_constants.h"
#include "app_windows/app_windows.h"
#include "app_windows/supervisor_save.h"
#include "gui/class_table.h"
#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/creation.h"
#include "gui/handlers.h"
#include "gui/message_box.h"

int TabHours = 0, HoursTodayLabel = 0, HoursStateLabel = 0, HoursApply = 0;
std::array<int, kUserSlots + 1> HoursAccountRadios{};
std::array<int, kDays> HoursDayEdits{};

namespace {
constexpr const char* kHoursTitle = "Hours";
constexpr const char* kDefaultChoice = "Default for new accounts";
constexpr int kDefaultIndex = kUserSlots;
constexpr int kFirstDayTop = 80;
constexpr int kDayStep = 32;

// What the page last read; the account of each choice ("" for the default and for a slot with
// none, whose choice is disabled), and the choice shown.
HoursBook vBook;
HoursLoad vLoaded;
std::array<std::string, kUserSlots + 1> vChoices;  // the last one is the default's
int vChosen = -1;

// The account running the program, "" when it has no slot.
std::string ownAccount() {
  return vSession.currentUser != 0 ? vTable.user(vSession.currentUser).field(kAccount) : "";
}

// What the page says about the hours shown: how they were read, and whose they are.
std::string stateText(const std::string& account) {
  if (vLoaded.kind == HoursLoad::Silent)
    return "The Orrindale guard service does not answer: the hours shown are not the kept ones";
  if (vLoaded.kind == HoursLoad::NotKept)
    return "The hours could not be read (" + vLoaded.why + "): the hours shown are not the kept ones";
  if (vBook.damaged)
    return "The hours file is damaged: every account is outside its hours until they are set again. Shown is what "
           "could be read; Apply writes the file sound.";
  if (account.empty())
    return "The hours of every account without hours of its own.";
  const auto own = vBook.accounts.find(account);
  if (own == vBook.accounts.end())
    return account + " has no hours of its own: shown are the default hours, which it has now.";
  if (own->second.damaged)
    return "The hours of " + account + " could not be read: it is outside its hours until they are set again.";
  return "";
}

void showToday() {
  std::string text;
  if (!ownAccount().empty() && (vLoaded.kind == HoursLoad::Loaded || vLoaded.kind == HoursLoad::Damaged)) {
    MakeTimeStamp();
    text = todayText(vBook, ownAccount(), vSession.minutesLeft, hoursMoment(vBook, vStamp));
  }
  setText(HoursTodayLabel, text);
}

// The choice of an account of the table, -1 for none.
int choiceOf(const std::string& account) {
  for (int slot = 1; slot <= kUserSlots; ++slot)
    if (!account.empty() && vChoices[slot - 1] == account)
      return slot - 1;
  return -1;
}

void showChosen(int choice) {
  vChosen = choice;
  for (int radio : HoursAccountRadios)
    setCheck(radio, radio == HoursAccountRadios[choice] ? 1 : 0);
  const DayTexts texts = dayTexts(hoursToChange(vBook, vChoices[choice]));
  for (int day = 1; day <= kDays; ++day)
    setText(HoursDayEdits[day - 1], texts[day - 1]);
  setText(HoursStateLabel, stateText(vChoices[choice]));
}

int label(const std::string& text, int owner, int x, int y, int width, int height = 20) {
  return create(LText, text, owner, x, y, width, height, 0);
}
// Made when the gate first opens, not at start-up: a copy that is never administered never makes it.
void createHoursPage() {
  TabHours = create(TabItem, "&Hours", TabCtl, 10, 10, 500, 200, 0);
  HoursTodayLabel = label("", TabHours, 20, 40, 690);
  const int accounts = create(Group, "Account", TabHours, 20, 70, 230, 250, 0);
  for (int choice = 0; choice <= kUserSlots; ++choice)
    HoursAccountRadios[choice] = create(Radio, "", accounts, 15, 25 + 30 * choice, 200, 20, 0);
  for (int day = 1; day <= kDays; ++day) {
    const int top = kFirstDayTop + kDayStep * (day - 1);
    label(DayNames[day - 1], TabHours, 280, top + 3, 40);
    HoursDayEdits[day - 1] = createEx(EditText, "", TabHours, 330, top, 220, 20, 0, 0);
  }
  label("Each day: any, none, or up to 3 periods such as 07:00-08:00,15:00-20:30\n(24:00 may end a period)", TabHours,
        280, kFirstDayTop + kDayStep * kDays + 5, 430, 35);
  HoursStateLabel = label("", TabHours, 20, 345, 690, 40);
  HoursApply = create(PushButton, "Apply", TabHours, 250, 400, 120, 40, 0);
  setHandler(HoursApply, w32HClick, applyHours);
  for (int choice : HoursAccountRadios)
    setHandler(choice, w32HClick, chooseHoursAccount);
}

}  // namespace

void readHoursPage() {
  if (TabHours == 0)
    createHoursPage();
  const bool defaultShown = vChosen == kDefaultIndex;
  const std::string before = vChosen < 0 ? "" : vChoices[vChosen];
  vLoaded = vHome.loadHours(vBook);
  for (int slot = 1; slot <= kUserSlots; ++slot) {
    const std::string& account = vTable.user(slot).field(kAccount);
    // An account in two slots is chosen in its first, the one that counts.
    const bool counted = !account.empty() && accountSlot(vTable, account) == slot;
    vChoices[slot - 1] = counted ? account : "";
    setText(HoursAccountRadios[slot - 1], account.empty() ? "User " + std::to_string(slot) + ": free" : account);
    setEnable(HoursAccountRadios[slot - 1], counted);
  }
  setText(HoursAccountRadios[kDefaultIndex], kDefaultChoice);
  int choice = defaultShown ? kDefaultIndex : choiceOf(before);
  if (choice < 0)
    choice = choiceOf(ownAccount());
  showChosen(choice < 0 ? kDefaultIndex : choice);
  showToday();
}

void chooseHoursAccount(int self, int, const EventParams&) {
  for (int choice = 0; choice <= kUserSlots; ++choice)
    if (HoursAccountRadios[choice] == self)
      showChosen(choice);
}

void applyHours(int, int, const EventParams&) {
  if (vChosen < 0)
    return;
  const std::string account = vChoices[vChosen];
  DayTexts texts;
  for (int day = 1; day <= kDays; ++day)
    texts[day - 1] = getText(HoursDayEdits[day - 1]);
  AllowedHours hours;
  if (const std::string problem = readDayTexts(texts, hours); !problem.empty()) {
    message_box(problem + ".\nNothing was changed.", kHoursTitle, MB_ICONWARNING);
    return;
  }
  if (!saveHoursAsSupervisor(account, hours, kHoursTitle))
    return;
  readHoursPage();
  setText(HoursStateLabel, "Saved: the hours of " + (account.empty() ? std::string(kDefaultChoice) : account) + ".");
}
