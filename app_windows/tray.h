#pragma once
// The notification-area icons of the program: one record per icon in parallel lists (owning
// window, mouse handler, icon, tooltip, shown, last balloon), the shell requests that add and
// change an icon and show a balloon from it, and the routing of the icon's mouse notifications
// to its handler.
#include <string>
#include <vector>

#include "gui/event_types.h"

// Called with the icon number and the mouse message (513 left button down, 516 right, ...).
using TrayHandler = void (*)(int icon, int mouseMessage);

// The shell's record up to its balloon fields (NOTIFYICONDATA_V2_SIZE), which every shell since
// Windows 2000 takes, later ones included.
constexpr int kTrayRecordSize = 488;
constexpr int kTrayTipLength = 63;
constexpr int kBalloonTextLength = 255;
constexpr int kBalloonTitleLength = 63;
constexpr int NIF_MESSAGE_FLAG = 1;
constexpr int NIF_ICON_FLAG = 2;
constexpr int NIF_TIP_FLAG = 4;
constexpr int NIF_INFO_FLAG = 0x10;

// A balloon's title and text; an empty text takes a balloon shown away.
struct TrayBalloon {
  std::string title;
  std::string text;
};

// Enrols the window as the owner of a new icon (not shown yet) and returns its number, from
// 1. The window's w32HEvent handlers gain onevent; those already attached stay.
int tray_add(int window);
void tray_set_handler(int icon, TrayHandler handler);
// Adds the icon to the notification area once; later calls do nothing.
void tray_show(int icon);
// Sends the icon's current picture and tooltip to the shell.
void tray_modify(int icon);
// Cuts the text to 63 characters; sends it when it differs from the current tooltip.
void tray_set_tip(int icon, const std::string& text);
// Sends the icon when it differs from the current one.
void tray_set_icon(int icon, int iconHandle);
// Shows a balloon from the icon, its title cut to 63 characters and its text to 255.
void tray_balloon(int icon, const TrayBalloon& balloon);

// The shell's 488-byte icon record in new native memory; the caller releases it with
// w32release_mem after the call. The balloon's fields count only with NIF_INFO_FLAG.
void* tray_icon_data(int window,
                     int iconId,
                     const std::vector<int>& flags,
                     int callbackMessage,
                     int iconHandle,
                     const std::string& tooltip,
                     const TrayBalloon& balloon = {});

// The w32HEvent handler of an icon's owner: a tray callback for a known icon with a handler
// goes on to that handler with the mouse message.
void onevent(int self, int event, const EventParams& params);

// What the record of an icon holds now, for the program's own checks.
int trayCount();
int trayIconHandle(int icon);
std::string trayTip(int icon);
bool trayShown(int icon);
// The last balloon shown from the icon, as cut for the shell.
TrayBalloon trayBalloon(int icon);
