#include "app_windows/tray.h"

#include <algorithm>
#include <cstring>

#include "app_windows/app_constants.h"
#include "gui/handlers.h"
#include "gui/registry.h"
#include "support/w32dll.h"
#include "support/w32memset.h"

namespace {
constexpr int NIM_ADD_MESSAGE = 0;
constexpr int NIM_MODIFY_MESSAGE = 1;
// The record's fields after the icon handle; the state words between (at 152) stay 0.
constexpr int kTipAt = 24;
constexpr int kBalloonTextAt = 160;
constexpr int kBalloonTimeoutAt = 416;
constexpr int kBalloonTitleAt = 420;
constexpr int kBalloonFlagsAt = 484;
// Windows 2000 and XP keep a balloon this long (10 s is their least); later shells choose.
constexpr int kBalloonMilliseconds = 10000;
constexpr int NIIF_INFO_ICON = 1;

struct TrayRecords {
  std::vector<int> windows;
  std::vector<TrayHandler> handlers;  // nullptr: none
  std::vector<int> icons;
  std::vector<std::string> tips;
  std::vector<int> shown;
  std::vector<TrayBalloon> balloons;
};
TrayRecords vTray;

// Shell_NotifyIconA, bound by library and name at its first use.
int shellNotify(int message, void* record) {
  static const int handle = linkFunc(linkDLL({"shell32.dll"}).handle, "Shell_NotifyIconA", 2);
  return w32Func(handle, {message, record});
}

void putWord(unsigned char* record, int offset, int value) {
  std::memcpy(record + offset, &value, sizeof value);
}

// The text's characters, at most `most` of them, into the zeroed area at the offset: a zero byte
// always ends it.
void putText(unsigned char* record, int offset, const std::string& text, int most) {
  std::memcpy(record + offset, text.data(), std::min<std::size_t>(text.size(), most));
}

void notify(int icon, int message, const std::vector<int>& flags, int callbackMessage) {
  const int i = icon - 1;
  void* record =
      tray_icon_data(vTray.windows[i], icon, flags, callbackMessage, vTray.icons[i], vTray.tips[i], vTray.balloons[i]);
  shellNotify(message, record);
  w32release_mem(record);
}

bool known(int icon) {
  return icon >= 1 && icon <= trayCount();
}
}  // namespace

int tray_add(int window) {
  vTray.windows.push_back(getHandle(window));
  vTray.handlers.push_back(nullptr);
  vTray.icons.push_back(0);
  vTray.tips.push_back("");
  vTray.shown.push_back(0);
  vTray.balloons.push_back({});
  std::vector<Handler> handlers = getHandlerList(window, w32HEvent);
  handlers.push_back(onevent);
  setHandler(window, w32HEvent, handlers);
  return trayCount();
}

void tray_set_handler(int icon, TrayHandler handler) {
  if (known(icon))
    vTray.handlers[icon - 1] = handler;
}

void tray_show(int icon) {
  if (!known(icon) || vTray.shown[icon - 1])
    return;
  notify(icon, NIM_ADD_MESSAGE, {NIF_MESSAGE_FLAG, NIF_ICON_FLAG, NIF_TIP_FLAG}, TRAY_CALLBACK_MESSAGE);
  vTray.shown[icon - 1] = 1;
}

void tray_modify(int icon) {
  if (known(icon))
    notify(icon, NIM_MODIFY_MESSAGE, {NIF_ICON_FLAG, NIF_TIP_FLAG}, 0);
}

void tray_set_tip(int icon, const std::string& text) {
  if (!known(icon))
    return;
  const std::string tip = text.substr(0, kTrayTipLength);
  if (tip == vTray.tips[icon - 1])
    return;
  vTray.tips[icon - 1] = tip;
  tray_modify(icon);
}

void tray_set_icon(int icon, int iconHandle) {
  if (!known(icon) || iconHandle == vTray.icons[icon - 1])
    return;
  vTray.icons[icon - 1] = iconHandle;
  tray_modify(icon);
}

void tray_balloon(int icon, const TrayBalloon& balloon) {
  if (!known(icon))
    return;
  vTray.balloons[icon - 1] = {balloon.title.substr(0, kBalloonTitleLength), balloon.text.substr(0, kBalloonTextLength)};
  notify(icon, NIM_MODIFY_MESSAGE, {NIF_INFO_FLAG}, 0);
}

void* tray_icon_data(int window,
                     int iconId,
                     const std::vector<int>& flags,
                     int callbackMessage,
                     int iconHandle,
                     const std::string& tooltip,
                     const TrayBalloon& balloon) {
  auto* record = static_cast<unsigned char*>(w32acquire_mem(0, kTrayRecordSize));
  int flagBits = 0;
  for (int flag : flags)
    flagBits |= flag;
  putWord(record, 0, kTrayRecordSize);
  putWord(record, 4, window);
  putWord(record, 8, iconId);
  putWord(record, 12, flagBits);
  putWord(record, 16, callbackMessage);
  putWord(record, 20, iconHandle);
  putText(record, kTipAt, tooltip, kTrayTipLength);
  if (flagBits & NIF_INFO_FLAG) {
    putText(record, kBalloonTextAt, balloon.text, kBalloonTextLength);
    putWord(record, kBalloonTimeoutAt, kBalloonMilliseconds);
    putText(record, kBalloonTitleAt, balloon.title, kBalloonTitleLength);
    putWord(record, kBalloonFlagsAt, NIIF_INFO_ICON);
  }
  return record;
}

void onevent(int, int, const EventParams& params) {
  if (params.size() < 3 || params[0] != TRAY_CALLBACK_MESSAGE)
    return;
  const int icon = params[1];
  if (!known(icon) || !vTray.handlers[icon - 1])
    return;
  vTray.handlers[icon - 1](icon, params[2]);
}

int trayCount() {
  return static_cast<int>(vTray.windows.size());
}
int trayIconHandle(int icon) {
  return known(icon) ? vTray.icons[icon - 1] : 0;
}
std::string trayTip(int icon) {
  return known(icon) ? vTray.tips[icon - 1] : "";
}
bool trayShown(int icon) {
  return known(icon) && vTray.shown[icon - 1] == 1;
}
TrayBalloon trayBalloon(int icon) {
  return known(icon) ? vTray.balloons[icon - 1] : TrayBalloon{};
}
