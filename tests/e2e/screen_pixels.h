#pragma once
// What the test's desktop shows, as pixels: a part of the screen read back, the taskbar's
// notification area found in it, and pictures of it saved as bitmap files for ./dev shot.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// 0x00RRGGBB values, the top row first.
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

ScreenPixels readScreen(const RECT& area);
// The rectangle around the pixels of the notification area that differ from its background:
// the icons it shows. Empty when there is no taskbar or no icon.
RECT trayIcons(const ScreenPixels& notificationArea);
// The right end of the taskbar, where the notification area is; empty without a taskbar.
RECT notificationArea();
// 0 (black) to 255 (white) for a 0x00RRGGBB value, as the eye weighs the three colours.
inline int brightness(std::uint32_t rgb) {
  return static_cast<int>(((rgb >> 16 & 0xFF) * 30 + (rgb >> 8 & 0xFF) * 59 + (rgb & 0xFF) * 11) / 100);
}

// Saves the pixels as a 24-bit bitmap file, each one as a square of scale by scale pixels.
bool saveBitmap(const std::string& path, const ScreenPixels& picture, int scale = 1);
