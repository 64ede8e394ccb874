#include "tests/e2e/user_steps.h"

#include <commctrl.h>

#include "accounting/table/usage_table.h"
#include "tests/fixtures/dialog_answerer.h"

bool showPasswordWindow(OrrindaleProcess& program) {
  HWND gate = program.window(kPasswordWindow);
  SendMessageA(program.window(kHostWindow), kTrayCallback, 1, WM_LBUTTONDOWN);
  return waitUntil([&] { return IsWindowVisible(gate) != FALSE; });
}

bool openAdministration(OrrindaleProcess& program, const std::string& password) {
  return showPasswordWindow(program) && submitPassword(program, password, false);
}

bool submitPassword(OrrindaleProcess& program, const std::string& password, bool withOkButton) {
  HWND gate = program.window(kPasswordWindow);
  HWND main = program.window(kMainWindow);
  const auto edits = controlsOf(gate, "Edit");
  const auto ok = controlsOf(gate, "Button", "OK");
  if (edits.size() != 1 || ok.size() != 1)
    return false;
  // The window clears the edit whenever it is activated, and under Wine the activation can
  // come after the typing: a refusal of the right password is then answered and typed again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    clickInto(edits[0]);
    typeInto(edits[0], password);
    DialogAnswerer refusal("Enter Password", IDOK, 10000, program.id());
    if (withOkButton)
      click(ok[0]);
    else
      pressKey(edits[0], VK_RETURN);
    const bool opened =
        waitUntil([&] { return (IsWindowVisible(main) && !IsWindowVisible(gate)) || !refusal.answered().empty(); });
    if (refusal.finish().empty())
      return opened;
  }
  return false;
}

void minuteTick(OrrindaleProcess& program) {
  PostMessageA(program.window(kHostWindow), WM_TIMER, 1, 0);
}

bool chooseFromTrayMenu(OrrindaleProcess& program, char itemKey, int window) {
  HWND host = program.window(kHostWindow);
  // Posted: the menu runs its own loop inside the program until an item is chosen.
  PostMessageA(host, kTrayCallback, 1, WM_RBUTTONDOWN);
  PostMessageA(host, kTrayCallback, 1, WM_RBUTTONUP);
  chooseContextMenu(host, itemKey);
  return waitUntil([&] { return IsWindowVisible(program.window(window)) != FALSE; });
}

HWND shownBalloon(OrrindaleProcess& program, const std::string& text) {
  // The shell's balloon belongs to the notification area's process, not to the program.
  return findTopWindow([&](HWND window, DWORD process, const std::string& className) {
    return process != program.id() && _stricmp(className.c_str(), TOOLTIPS_CLASSA) == 0 && IsWindowVisible(window) &&
           textOf(window) == text;
  });
}

std::string answerBox(OrrindaleProcess& program, const std::string& title) {
  DialogAnswerer answer(title, IDOK, 10000, program.id());
  waitUntil([&] { return !answer.answered().empty(); });
  const auto boxes = answer.finish();
  return boxes.empty() ? "" : boxes[0].text;
}

// For each user row: account, time and the seven weekday cells.
constexpr int kGridColumns = 9;
// Six user rows and the default row's seven days.
constexpr std::size_t kGridEdits = 6 * kGridColumns + 7;
HWND gridCell(HWND main, int slot, int column) {
  // Only the whole grid: while the tab changes, the edits of the page before may still show.
  const auto edits = visibleControlsInReadingOrder(main, "Edit");
  const std::size_t index = (slot - 1) * kGridColumns + column;
  return edits.size() == kGridEdits ? edits[index] : nullptr;
}

bool showHoursPage(HWND main) {
  chooseMenu(main, 't', 'm');
  if (!waitUntil([&] { return gridCell(main, 1, 0) != nullptr; }))
    return false;
  PostMessageA(controlsOf(main, "SysTabControl32").at(0), WM_KEYDOWN, VK_RIGHT, 0);
  return waitUntil([&] {
    const auto choices = controlsOf(main, "Button", "Default for new accounts");
    return !choices.empty() && IsWindowVisible(choices[0]);
  });
}

HWND hoursDayEdit(HWND main, int weekday) {
  const auto edits = visibleControlsInReadingOrder(main, "Edit");
  return edits.size() == kDays ? edits[weekday] : nullptr;
}
