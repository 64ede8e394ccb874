// How long the once-a-minute work takes: a load and a save of a full data file, and a
// whole minute tick (reload, count, save); and the hash of a supervisor password, which a save
// pays once for a password stored as typed and the gate pays at each check. Prints
// microseconds per operation.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "accounting/data_file/data_file.h"
#include "accounting/data_file/file_home.h"
#include "accounting/program/minute_tick.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"

namespace {
template <typename Work>
double microsecondsPer(int rounds, Work work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i)
    work();
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / rounds;
}
}  // namespace

int main() {
  vHome = kDataFileHome;
  const auto folder = std::filesystem::temp_directory_path();
  vSession.dataFilePath = (folder / "orrindale-bench.dat").string();
  vSession.logPath = (folder / "orrindale-bench.log").string();
  {
    std::FILE* create = std::fopen(vSession.dataFilePath.c_str(), "w");
    std::fclose(create);
  }

  InstallDefaults();
  for (int slot = 1; slot <= kUserSlots; ++slot) {
    UserRecord& user = vTable.user(slot);
    user.field(kAccount) = "account" + std::to_string(slot);
    user.field(kMinutesLeft) = "9999";
    for (int field = kLastYear; field <= kUserFields; ++field)
      user.field(field) = "2026";
  }
  RewriteDataFile();
  vSession.currentUser = 3;
  vSession.machineName = "PENTIUM4";

  constexpr int kRounds = 2000;
  std::printf("LoadData   %8.1f us\n", microsecondsPer(kRounds, [] { LoadData(); }));
  std::printf("SaveData   %8.1f us\n", microsecondsPer(kRounds, [] { SaveData(); }));
  std::printf("DoEachMin  %8.1f us\n", microsecondsPer(kRounds, [] { DoEachMin(); }));
  // A new text each round: the same text again in a row would get the kept hash.
  int text = 0;
  std::printf("hashPassword %8.1f us\n",
              microsecondsPer(10, [&] { hashPassword("password " + std::to_string(++text)); }));
  std::filesystem::remove(vSession.dataFilePath);
  std::filesystem::remove(vSession.logPath);
  return 0;
}
