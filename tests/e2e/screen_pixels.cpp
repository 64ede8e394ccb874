#include "tests/e2e/screen_pixels.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {
// Wide enough for a few icons of up to 32 pixels at the right end of the taskbar.
constexpr int kNotificationWidth = 120;
}  // namespace

ScreenPixels readScreen(const RECT& area) {
  ScreenPixels picture;
  picture.width = area.right - area.left;
  picture.height = area.bottom - area.top;
  if (picture.width <= 0 || picture.height <= 0)
    return {};
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, previous);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(memory, bitmap, 0, picture.height, picture.pixels.data(), &format, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (std::uint32_t& pixel : picture.pixels)
    pixel &= 0xFFFFFF;
  return picture;
}

RECT notificationArea() {
  RECT taskbar{};
  HWND window = FindWindowA("Shell_TrayWnd", nullptr);
  if (!window || !GetWindowRect(window, &taskbar))
    return {};
  taskbar.left = std::max(taskbar.left, taskbar.right - kNotificationWidth);
  return taskbar;
}

RECT trayIcons(const ScreenPixels& area) {
  // The background is the colour most of the area has.
  std::map<std::uint32_t, int> counts;
  for (std::uint32_t pixel : area.pixels)
    ++counts[pixel];
  if (counts.empty())
    return {};
  const std::uint32_t background =
      std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  RECT icons{area.width, area.height, 0, 0};
  for (int y = 0; y < area.height; ++y) {
    for (int x = 0; x < area.width; ++x) {
      if (area.at(x, y) == background)
        continue;
      icons = {std::min<LONG>(icons.left, x), std::min<LONG>(icons.top, y), std::max<LONG>(icons.right, x + 1),
               std::max<LONG>(icons.bottom, y + 1)};
    }
  }
  return icons.right > icons.left ? icons : RECT{};
}

bool saveBitmap(const std::string& path, const ScreenPixels& picture, int scale) {
  const int width = picture.width * scale;
  const int height = picture.height * scale;
  const int rowBytes = (width * 3 + 3) & ~3;
  std::vector<unsigned char> rows(static_cast<std::size_t>(rowBytes) * height);
  for (int y = 0; y < height; ++y) {
    // Bitmap files keep the bottom row first.
    unsigned char* row = rows.data() + static_cast<std::size_t>(height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = picture.at(x / scale, y / scale);
      row[x * 3] = pixel & 0xFF;
      row[x * 3 + 1] = pixel >> 8 & 0xFF;
      row[x * 3 + 2] = pixel >> 16 & 0xFF;
    }
  }
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out)
    return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(rows.data(), 1, rows.size(), out);
  return std::fclose(out) == 0;
}
