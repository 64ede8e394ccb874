#include "gui/control_text.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gui/control_looks.h"
#include "gui/menus.h"
#include "gui/registry.h"
#include "gui/status_bar.h"
#include "support/hot_path.h"
#include "support/w32dll.h"

namespace {

bool isCheckable(int cls) {
  return cls == CheckBox || cls == TriCheckBox || cls == Radio;
}

// A multi-line edit field breaks lines only at a carriage return and line feed pair.
std::string withCarriageReturns(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
      result += '\r';
    result += text[i];
  }
  return result;
}

std::string windowText(int id) {
  const int length = sendMessage(id, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0)
    return "";
  std::vector<char> buffer(length + 1);
  const int copied = sendMessage(id, WM_GETTEXT, length + 1, static_cast<void*>(buffer.data()));
  return std::string(buffer.data(), std::clamp(copied, 0, length));
}

std::string panelText(int id, int panel) {
  sendHeldTexts(id);
  const int panels = sendMessage(id, SB_GETPARTS, 0, 0);
  if (panel < 1 || panel > panels)
    panel = 1;
  const int length = LOWORD(sendMessage(id, SB_GETTEXTLENGTHA, panel - 1, 0));
  if (length <= 0)
    return "";
  std::vector<char> buffer(length + 1);
  const int copied = LOWORD(sendMessage(id, SB_GETTEXTA, panel - 1, static_cast<void*>(buffer.data())));
  return std::string(buffer.data(), std::min(copied, length));
}

void setTabText(int id, const std::string& text) {
  const int tabControl = ctrl_Parent[id];
  const std::vector<int>& items = ctrl_Tabitems[tabControl];
  const auto found = std::find(items.begin(), items.end(), id);
  if (found == items.end())
    return;
  std::string label = text;
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = label.data();
  item.cchTextMax = static_cast<int>(label.size());
  sendMessage(tabControl, TCM_SETITEMA, static_cast<int>(found - items.begin()), &item);
  repaintWindow(0);
}

}  // namespace

HOT_PATH void setText(const Part& target, const TextArg& text) {
  const int id = target.id;
  if (!validId(id))
    return;
  const int cls = ctrl_Type[id];
  if (classAttr[cls] & w32PictCtrl)
    return;
  const std::string& value = text.text;
  if (cls == StatusBar) {
    setPanelText(id, (target.item != 0 ? target.item : 1) - 1, value);
  } else if (isMenuEntry(id)) {
    setMenuText(id, value);
  } else if (cls == TabItem) {
    setTabText(id, value);
  } else if (isCheckable(cls) && (value == "0" || value == "1" || value == "2")) {
    sendMessage(id, BM_SETCHECK, value[0] - '0', 0);
  } else {
    w32Func(rtn::SetWindowTextA, {getHandle(id), cls == MleText ? withCarriageReturns(value) : value});
  }
}

std::string getCaption(int id) {
  if (!validId(id))
    return "";
  if (isMenuEntry(id))
    return getMenuText(id);
  const int family = ctrl_Family[id];
  if (family == WINDOW || family == BUTTON || family == STATIC)
    return windowText(id);
  return "";
}

std::string getData(const Part& target) {
  const int id = target.id;
  if (!validId(id))
    return "";
  const int cls = ctrl_Type[id];
  if (classAttr[cls] & w32PictCtrl)
    return "";
  if (cls == StatusBar)
    return panelText(id, target.item != 0 ? target.item : 1);
  if (isMenuEntry(id))
    return isMenuChecked(id) ? "1" : "0";
  if (isCheckable(cls))
    return std::to_string(sendMessage(id, BM_GETCHECK, 0, 0));
  return windowText(id);
}

std::string getText(const Part& target) {
  if (target.item != 0)
    return getData(target);
  const std::string caption = getCaption(target.id);
  return caption.empty() ? getData(target) : caption;
}
