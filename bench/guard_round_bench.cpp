// What the guard costs between two looks, under Windows or Wine: one round with the real
// sessions and process snapshot, the data file unchanged (the usual case) and changed (read
// again through the core). The table holds no logged-on account, so the round acts on nothing.
// Prints microseconds per round.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "accounting/data_file/data_file.h"
#include "accounting/table/usage_table.h"
#include "guard/guard_cycle.h"
#include "guard_service/session_actions.h"
#include "guard_service/sessions.h"

namespace {
template <typename Work>
double microsecondsPer(int rounds, Work work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i)
    work(i);
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / rounds;
}
}  // namespace

int main() {
  const auto folder = std::filesystem::temp_directory_path();
  vSession.dataFilePath = (folder / "orrindale-guard-bench.dat").string();
  vSession.logPath = (folder / "orrindale-guard-bench.log").string();
  std::fclose(std::fopen(vSession.dataFilePath.c_str(), "w"));
  InstallDefaults();
  for (int slot = 1; slot <= kUserSlots; ++slot)
    vTable.user(slot).field(kAccount) = "nobody" + std::to_string(slot);
  SaveData();
  setProgramPath((folder / "orrindale.exe").string());

  GuardRun run;
  const GuardPlatform platform{windowsSessions, startProgramInSession, logOffSession};
  constexpr int kRounds = 200;
  std::printf("guard round, data file unchanged %8.1f us\n",
              microsecondsPer(kRounds, [&](int i) { guardCycle(run, platform, i); }));
  std::printf("guard round, data file changed   %8.1f us\n", microsecondsPer(kRounds, [&](int i) {
                vTable.option(7) = i % 2 ? "odd" : "even";
                SaveData();
                guardCycle(run, platform, i);
              }));
  std::filesystem::remove(vSession.dataFilePath);
  std::filesystem::remove(vSession.logPath);
  return 0;
}
