// What redrawing the minutes icon costs: draw_tray_minutes as the program calls it while it
// blinks (every call makes a new picture and sends it to the shell), beside the same icon made
// directly with CreateBitmap and CreateIconIndirect, with and without the shell's request.
// Prints the median microseconds per call. Run it where the shell has a notification area, or
// the shell's part costs nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "accounting/table/usage_table.h"
#include "app_windows/tray.h"
#include "app_windows/tray_digits.h"
#include "app_windows/tray_minutes.h"
#include "gui/class_table.h"
#include "gui/creation.h"
#include "gui/message_dispatch.h"
#include "gui/registry.h"

namespace {
using Work = std::function<void(int)>;

// The median time of each of two ways, called in turns so that both see the same load, with a
// pause before each call: the program redraws once a second at most, so the shell has drawn
// the previous icon before the next one comes.
std::pair<double, double> medianMicroseconds(int rounds, const Work& first, const Work& second) {
  std::vector<double> times[2];
  for (int i = 0; i < rounds; ++i) {
    for (int way = 0; way < 2; ++way) {
      Sleep(10);
      const auto start = std::chrono::steady_clock::now();
      (way == 0 ? first : second)(i);
      times[way].push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
  }
  for (auto& list : times)
    std::sort(list.begin(), list.end());
  return {times[0][rounds / 2], times[1][rounds / 2]};
}

// The same picture as the program's, made the plain way.
HICON directIcon(const std::vector<std::string>& rows) {
  const int width = static_cast<int>(rows[0].size());
  std::vector<std::uint32_t> colours;
  for (const std::string& row : rows)
    for (char pixel : row)
      colours.push_back(pixel == ' ' ? 0xFFFFFFFF : 0xFF000000);
  const std::vector<unsigned char> opaque((width + 15) / 16 * 2 * rows.size(), 0);
  ICONINFO info{TRUE, 0, 0, CreateBitmap(width, 9, 1, 1, opaque.data()), CreateBitmap(width, 9, 1, 32, colours.data())};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  return icon;
}

NOTIFYICONDATAA directRecord(HWND window, HICON icon) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = 2;
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = icon;
  std::snprintf(data.szTip, sizeof data.szTip, "Orrindale\n45 Mins");
  return data;
}
}  // namespace

int main() {
  startRegistry();
  startDispatch();
  const int host = create(Window, "tray bench", 0, 0, 0, 120, 80, 0);
  TrayNo = tray_add(host);
  InstallDefaults();
  vTable.user(1).field(kMinutesLeft) = "0045";
  vSession.currentUser = 1;
  draw_tray_minutes(0);
  tray_show(TrayNo);

  const std::vector<std::string> images[2] = {glyphImage(glyphSlots("0045", true)),
                                              glyphImage(glyphSlots("0045", false))};
  // A second icon of the same window, shown and changed the plain way.
  HWND window = reinterpret_cast<HWND>(getHandle(host));
  NOTIFYICONDATAA record = directRecord(window, directIcon(images[1]));
  Shell_NotifyIconA(NIM_ADD, &record);

  constexpr int kRounds = 200;
  const auto [program, direct] = medianMicroseconds(
      kRounds,
      [](int i) {
        vSession.BlinkPhase = i % 2;
        draw_tray_minutes(1);
      },
      [&](int i) {
        HICON shown = record.hIcon;
        record.hIcon = directIcon(images[i % 2]);
        Shell_NotifyIconA(NIM_MODIFY, &record);
        DestroyIcon(shown);
      });
  const auto [programIcon, directIconOnly] = medianMicroseconds(
      kRounds, [&](int i) { DestroyIcon(reinterpret_cast<HICON>(icon_from_rows(images[i % 2]))); },
      [&](int i) { DestroyIcon(directIcon(images[i % 2])); });
  Shell_NotifyIconA(NIM_DELETE, &record);

  std::printf("draw_tray_minutes                %8.1f us\n", program);
  std::printf("plain icon and shell request     %8.1f us\n", direct);
  std::printf("the program's icon alone         %8.1f us\n", programIcon);
  std::printf("plain icon alone                 %8.1f us\n", directIconOnly);
  return 0;
}
