#include "tests/support/recording_ui.h"

#include <cstdio>

#include "accounting/ui_routines.h"

namespace recording_ui {
namespace {
std::vector<std::string> vCalls;
std::function<void()> vInsideBox;

void record(const std::string& call) {
  vCalls.push_back(call);
}

void hide() {
  record("hide");
}
void tray(int blink) {
  record("tray " + std::to_string(blink));
}
void box(const std::string& text, const std::string& title) {
  record("box " + title + "|" + text);
  if (vInsideBox) {
    // One run per box: the action may itself open a box.
    auto action = std::move(vInsideBox);
    vInsideBox = nullptr;
    action();
  }
}
void panes(const std::vector<double>& shares) {
  std::string call = "panes";
  for (double share : shares) {
    char text[32];
    std::snprintf(text, sizeof text, " %g", share);
    call += text;
  }
  record(call);
}
void status(int pane, const std::string& text) {
  record("status " + std::to_string(pane) + " " + text);
}
void timer(TimerOwner owner, int id, int interval) {
  record(std::string("timer ") + (owner == TimerOwner::HostWindow ? "host " : "main ") + std::to_string(id) + " " +
         std::to_string(interval));
}
void updateTab() {
  record("update tab");
}
void optionsTab() {
  record("options tab");
}
void trayShow() {
  record("tray show");
}
void appIcon() {
  record("app icon");
}
}  // namespace

void install() {
  vUi = {hide, tray, box, panes, status, timer, updateTab, optionsTab, trayShow, appIcon};
  clear();
}

const std::vector<std::string>& calls() {
  return vCalls;
}

std::vector<std::string> callsStartingWith(const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& call : vCalls)
    if (call.rfind(prefix, 0) == 0)
      found.push_back(call);
  return found;
}

void clear() {
  vCalls.clear();
  vInsideBox = nullptr;
}

void whileBoxIsOpen(std::function<void()> action) {
  vInsideBox = std::move(action);
}

}  // namespace recording_ui
