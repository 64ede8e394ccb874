#pragma once
// Screenshots taken from inside the Wine desktop for ./dev shot: the whole screen as a bitmap
// file in the folder that ORRINDALE_SHOTS names, once the windows have painted.
#include <windows.h>

#include <string>

// The whole screen (the Wine desktop) as a 24-bit bitmap file.
bool saveScreen(const std::string& path);
// NAME.bmp in the folder of ORRINDALE_SHOTS, or in the current folder when it is not set.
std::string shotPath(const std::string& name);
// Lets the window paint before the picture is taken.
void settle(HWND window);
