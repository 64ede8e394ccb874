#pragma once
// Menus as controls: menu bars, drop-down menus and commands, menu items and separators whose
// command id is their control id, the text, check mark and enabled state of menu entries, and
// the context menus a control shows on a right click.
#include <array>
#include <cstdint>
#include <string>

#include "gui/arguments.h"
#include "gui/event_types.h"

// Creation paths of createEx. A Menu owned by a window goes on its menu bar (made with the
// first one); owned by a menu it is a submenu; a caption with "!" makes it a plain command.
void createMenu(int id, const std::string& caption, int owner);
// A caption of "-" or "" makes a separator; otherwise the flags are added to MF_STRING.
void createMenuItem(int id, const std::string& caption, int owner, std::uint32_t flags);

// Menus, submenus, commands, menu items and separators: what the entry operations below serve.
bool isMenuEntry(int id);

// The entry's text, check mark and enabled state on the platform's menu.
void setMenuText(int id, const std::string& text);
std::string getMenuText(int id);
void checkMenuItem(int id, bool checked);
bool isMenuChecked(int id);
void enableMenuItem(int id, bool enable);
bool isMenuEnabled(int id);

// Sets the control's context menus and returns the four it had. Installs checkPopup as the
// control's first mouse handler.
std::array<PopupEntry, 4> attachPopup(int id, const PopupList& menus);
// On a right button press, shows the context menu for the Shift and Control keys held.
void checkPopup(int self, int event, const EventParams& params);
// Shows the menu at x, y of relativeTo's client area (0: the menu's window), until the user
// chooses or cancels.
void popup(int menu, int relativeTo, int x, int y);
