#include "gui/status_bar.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "gui/geometry.h"
#include "gui/handlers.h"
#include "gui/registry.h"
#include "support/hot_path.h"
#include "support/w32dll.h"

namespace {

// A panel's text. The window handle tells a status bar from a later one with its id.
struct PanelText {
  int id;
  int hWnd;
  int panel;
  std::string text;
};
// The text setPanelText last sent a panel, while the status bar's procedure has seen no other
// change of that panel.
std::vector<PanelText> vPanelTexts;
// Counts the changes reported to forgetPanelTexts: a text is known only when the two messages
// that sent it were the only changes while they ran.
unsigned vPanelChanges = 0;

// Status bars made without SBT_TOOLTIPS: they make no tooltip window, so a panel's tip text
// goes nowhere (a later style change makes none either).
struct StatusBarRef {
  int id;
  int hWnd;
};
std::vector<StatusBarRef> vTiplessBars;

// Texts for the panels of a status bar that cannot be seen (it, or a window it sits in, is
// hidden): a status bar repaints on every new text, which asks the window server twice even
// when nothing can be painted. A held text goes out when the status bar is about to be shown,
// when its text is read, or with its next text once it can be seen; a change of the panel
// from elsewhere replaces it.
std::vector<PanelText> vHeldTexts;

HOT_PATH std::vector<PanelText>::iterator findPanel(std::vector<PanelText>& texts, int id, int panel) {
  return std::find_if(texts.begin(), texts.end(), [id, panel](const PanelText& entry) {
    return entry.id == id && entry.panel == panel && entry.hWnd == ctrl_Handle[id];
  });
}

HOT_PATH bool isTipless(int id) {
  return std::any_of(vTiplessBars.begin(), vTiplessBars.end(),
                     [id](const StatusBarRef& bar) { return bar.id == id && bar.hWnd == ctrl_Handle[id]; });
}

// The right end of the status bar, for the platform.
constexpr int kRightEnd = -1;

int rightEdge(const PanelEdge& edge, int previous, int width) {
  const double n = edge.number;
  if (edge.relative)
    return previous + static_cast<int>(std::floor(n));
  if (n > 0 && n < 1)
    return previous + static_cast<int>(std::floor(n * width));
  if (n < -1)
    return width + static_cast<int>(std::floor(n));
  if (n < 1)
    return kRightEnd;
  return static_cast<int>(std::floor(n));
}

// Sends the text and, where it shows, the tip; the text is known afterwards when these were
// the only changes of the panel meanwhile.
void sendPanelText(int id, int panel, const std::string& text, bool watched) {
  const unsigned changesBefore = vPanelChanges;
  // The status bar keeps copies of its own, so the text goes from where it is.
  const void* chars = text.c_str();
  const bool shown = sendMessage(id, SB_SETTEXTA, panel, chars) != 0;
  const bool tip = watched || !isTipless(id);
  if (tip)
    sendMessage(id, SB_SETTIPTEXTA, panel, chars);
  if (shown && vPanelChanges == changesBefore + (tip ? 2 : 1))
    vPanelTexts.push_back({id, ctrl_Handle[id], panel, text});
}

}  // namespace

void setSubFields(int id, const PanelLayout& layout) {
  if (!validId(id) || ctrl_Type[id] != StatusBar || layout.empty())
    return;
  const int width = getCtlSize(ctrl_Parent[id]).width;
  std::vector<std::int32_t> edges;
  int previous = 0;
  for (const PanelEdge& edge : layout) {
    previous = rightEdge(edge, previous, width);
    edges.push_back(previous);
    if (previous == kRightEnd)
      break;
  }
  W32Bytes array(edges.size() * sizeof(std::int32_t));
  std::memcpy(array.data(), edges.data(), array.size());
  sendMessage(id, SB_SIMPLE, 0, 0);
  sendMessage(id, SB_SETPARTS, static_cast<int>(edges.size()), array);
}

void statusbar_resize(int self, int, const EventParams& params) {
  // {sender, sender's event, user data, size type, client width, client height}
  if (params.size() < 6 || params[1] != w32HResize || !validId(self))
    return;
  const int width = params[4];
  const int height = params[5];
  const int ownHeight = getClientRect(self).height;
  w32Func(rtn::MoveWindow, {ctrl_Handle[self], 0, height - ownHeight, width, ownHeight, 1});
}

void noteStatusBarTips(int id) {
  const int hWnd = ctrl_Handle[id];
  if (!(w32Call(rtn::GetWindowLongA, hWnd, GWL_STYLE) & SBT_TOOLTIPS))
    vTiplessBars.push_back({id, hWnd});
}

HOT_PATH void setPanelText(int id, int panel, const std::string& text) {
  // Whoever listens to the status bar's every message sees every text sent.
  const bool watched = hasListeners(id, w32HEvent) || hasListeners(id, w32HAfterEvent);
  const auto held = findPanel(vHeldTexts, id, panel);
  const auto known = findPanel(vPanelTexts, id, panel);
  if (!watched && known != vPanelTexts.end() && known->text == text) {
    if (held != vHeldTexts.end())
      vHeldTexts.erase(held);
    return;
  }
  if (!watched && !w32Call(rtn::IsWindowVisible, ctrl_Handle[id])) {
    if (held != vHeldTexts.end())
      held->text = text;
    else
      vHeldTexts.push_back({id, ctrl_Handle[id], panel, text});
    return;
  }
  if (held != vHeldTexts.end())
    vHeldTexts.erase(held);
  sendHeldTexts(id);
  sendPanelText(id, panel, text, watched);
}

void sendHeldTexts(int id) {
  const int hWnd = ctrl_Handle[id];
  for (std::size_t i = 0; i < vHeldTexts.size();) {
    if (vHeldTexts[i].hWnd != hWnd && !w32Call(rtn::IsChild, hWnd, vHeldTexts[i].hWnd)) {
      ++i;
      continue;
    }
    // Out of the list first: the status bar's procedure drops what is held for each panel it
    // is sent, and a listener may set further texts. Then the list is walked again.
    const PanelText held = std::move(vHeldTexts[i]);
    vHeldTexts.erase(vHeldTexts.begin() + static_cast<std::ptrdiff_t>(i));
    if (held.hWnd == ctrl_Handle[held.id])
      sendPanelText(held.id, held.panel, held.text, false);
    i = 0;
  }
}

HOT_PATH void forgetPanelTexts(int id, int message, int wParam) {
  ++vPanelChanges;
  const bool onePanel = message != SB_SETPARTS && message != SB_SIMPLE && message != WM_NCDESTROY;
  // WM_SETTEXT writes the first panel; the low byte of the others' wParam names their panel.
  const int panel = message == WM_SETTEXT ? 0 : LOBYTE(wParam);
  std::erase_if(vPanelTexts,
                [&](const PanelText& known) { return known.id == id && (!onePanel || known.panel == panel); });
  // A text from elsewhere replaces the one held for its panel. A new panel layout or tip keeps
  // the held texts: they are still what the program last asked the panels to show.
  const bool newText = message == SB_SETTEXTA || message == SB_SETTEXTW || message == WM_SETTEXT;
  if (newText || message == WM_NCDESTROY)
    std::erase_if(vHeldTexts,
                  [&](const PanelText& held) { return held.id == id && (!newText || held.panel == panel); });
  if (message == WM_NCDESTROY)
    std::erase_if(vTiplessBars, [id](const StatusBarRef& bar) { return bar.id == id; });
}
