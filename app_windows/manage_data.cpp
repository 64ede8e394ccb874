#include "app_windows/manage_data.h"

#include "accounting/table/table_home.h"
#include "accounting/table/table_rules.h"
#include "app_windows/app_constants.h"
#include "app_windows/app_windows.h"
#include "app_windows/supervisor_save.h"
#include "gui/class_table.h"
#include "gui/control_looks.h"
#include "gui/control_state.h"
#include "gui/control_text.h"
#include "gui/creation.h"

std::array<int, kUserSlots> AccountEdits{}, TimeEdits{}, LastUsedLabels{}, MachineLabels{};
std::array<std::array<int, kDays>, kUserSlots> AllocEdits{};
std::array<int, kDays> DefaultEdits{};
int AllocGroup = 0, AllowNewUsers = 0;

namespace {
// Inside the group everything sits 25 pixels higher than its row outside, so that rows line up.
constexpr int kGroupLift = 25;

// What the program last put into the grid's edit boxes: Apply hands on a Time cell only when the
// supervisor changed it, so that the minutes counted meanwhile stay.
UsageTable vShown;

// The cell of an edit box when the supervisor changed it.
void addIfChanged(std::vector<Cell>& cells, int edit, int field, const std::string& shown) {
  std::string typed = getText(edit);
  if (typed != shown)
    cells.push_back({field, std::move(typed)});
}

int dayColumn(int day) {
  return 35 * day - 25;
}
int rowTop(int slot) {
  return RowTops[slot - 1];
}
int label(const std::string& text, int owner, int x, int y, int width) {
  return create(LText, text, owner, x, y, width, 20, 0);
}
int edit(const std::string& text, int owner, int x, int y, int width) {
  return createEx(EditText, text, owner, x, y, width, 20, 0, 0);
}
}  // namespace

std::string lastUsedText(const UserRecord& user) {
  if (user.field(kLastHour).empty())
    return "";
  return user.field(kLastHour) + ":" + user.field(kLastMinute) + " on " + user.field(kLastDay) + "/" +
         user.field(kLastMonth) + "/" + user.field(kLastYear);
}

void build_update_tab() {
  repaintWindow(MainWindow);
  label("Account", TabUpdate, 80, 60, 50);
  label("Time", TabUpdate, 200, 60, 50);
  label("Last Used", TabUpdate, 290, 60, 100);
  label("Machine", TabUpdate, 390, 60, 50);
  for (int u = 1; u <= kUserSlots; ++u)
    label("User " + std::to_string(u), TabUpdate, 10, rowTop(u), 50);
  for (int u = 1; u <= kUserSlots; ++u)
    AccountEdits[u - 1] = edit(vTable.user(u).field(kAccount), TabUpdate, 60, rowTop(u), 100);
  for (int u = 1; u <= kUserSlots; ++u)
    TimeEdits[u - 1] = edit(vTable.user(u).field(kMinutesLeft), TabUpdate, 200, rowTop(u), 34);
  for (int u = 1; u <= kUserSlots; ++u)
    LastUsedLabels[u - 1] = label(lastUsedText(vTable.user(u)), TabUpdate, 270, rowTop(u), 120);
  label("Default User", TabUpdate, 270, 290, 150);
  for (int u = 1; u <= kUserSlots; ++u)
    MachineLabels[u - 1] = label(vTable.user(u).field(kMachine), TabUpdate, 390, rowTop(u), 60);
  AllocGroup = create(Group, "Allocation by day", TabUpdate, 460, 25, 260, 350, 0);
  for (int u = 1; u <= kUserSlots; ++u) {
    for (int d = 1; d <= kDays; ++d) {
      label(DayNames[d - 1], AllocGroup, dayColumn(d), 35, 25);
      AllocEdits[u - 1][d - 1] =
          edit(vTable.user(u).allowance(d), AllocGroup, dayColumn(d), rowTop(u) - kGroupLift, 34);
    }
  }
  for (int d = 1; d <= kDays; ++d)
    DefaultEdits[d - 1] = edit(vTable.defaultAllowance(d), AllocGroup, dayColumn(d), 290 - kGroupLift, 34);
  vShown = vTable;
}

void build_options_tab() {
  AllowNewUsers = create(CheckBox, "Allow New Users", TabOptions, 50, 50, 500, 60, 0);
  setCheck(AllowNewUsers, newUsersAllowed(vTable) ? 1 : 0);
}

void read_Button(int, int, const EventParams&) {
  vHome.load();
  for (int u = 1; u <= kUserSlots; ++u) {
    setText(TimeEdits[u - 1], vTable.user(u).field(kMinutesLeft));
    vShown.user(u).field(kMinutesLeft) = vTable.user(u).field(kMinutesLeft);
  }
  for (int u = 1; u <= kUserSlots; ++u)
    setText(LastUsedLabels[u - 1], lastUsedText(vTable.user(u)));
  for (int u = 1; u <= kUserSlots; ++u)
    setText(MachineLabels[u - 1], vTable.user(u).field(kMachine));
}

// Apply stores the grid's accounts and allowances as they stand, and each Time cell only when the
// supervisor changed it: the minutes counted since the grid was read are never given back,
// wherever the table lives.
void datchange_Button(int, int, const EventParams&) {
  std::vector<Cell> cells;
  for (int u = 1; u <= kUserSlots; ++u) {
    addIfChanged(cells, TimeEdits[u - 1], tableField(u, kMinutesLeft), vShown.user(u).field(kMinutesLeft));
    cells.push_back({tableField(u, kAccount), getText(AccountEdits[u - 1])});
    for (int d = 1; d <= kDays; ++d)
      cells.push_back({tableField(u, kMachine + d), getText(AllocEdits[u - 1][d - 1])});
  }
  for (int d = 1; d <= kDays; ++d)
    cells.push_back({1 + d, getText(DefaultEdits[d - 1])});
  if (saveAsSupervisor(cells, "Update data"))
    applyCells(vShown, cells);
}

void Update_Options(int, int, const EventParams&) {
  UsageTable changed = vTable;
  setNewUsersAllowed(changed, isChecked(AllowNewUsers));
  if (saveAsSupervisor({{1 + kDays + kNewUserFlag, changed.option(kNewUserFlag)}}, "Options"))
    vTable.option(kNewUserFlag) = changed.option(kNewUserFlag);
}
