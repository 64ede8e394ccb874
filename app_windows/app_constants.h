#pragma once
// The application's fixed texts and numbers: product name and version, weekday column
// headers, the rows of the allowance grid, and the tray icon's callback message.
#include <array>
#include <string>

#include "accounting/program/ui_routines.h"

constexpr const char* ProductName = kProductName;
constexpr const char* VersionText = "Version 1";
inline const std::string HeaderText = std::string(ProductName) + ", " + VersionText;
constexpr std::array<const char*, 7> DayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<int, 6> RowTops{80, 110, 140, 170, 200, 230};
// The first user message plus 5: the shell sends it for mouse activity over the tray icon.
constexpr int TRAY_CALLBACK_MESSAGE = 0x0400 + 5;
