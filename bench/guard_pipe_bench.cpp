// A minute through the guard's pipe, as a copy of a protected install sends it: the copy's own
// client routine, the guard's pipe server and request handling, and a save of the data file. The
// server runs on a thread of this program; under Wine, which lets any program make its pipe owned
// by LocalSystem, the client's check of the owner holds (on Windows only the service itself could
// serve it). Prints the median round trip of a counted minute and of a password check (one hash).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "accounting/data_file/data_file.h"
#include "accounting/guard_link/guard_protocol.h"
#include "accounting/table/password_hash.h"
#include "accounting/table/usage_table.h"
#include "guard_service/pipe_server.h"
#include "runtime/guard_pipe.h"

namespace {

TableKeeper vKeeper;
RequestSettings vSettings{true};  // the requests name the bench's account
HANDLE vStop = nullptr;

std::string answer(const Caller& caller, std::string_view request) {
  return answerRequest(vKeeper, vSettings, caller, request);
}

void serve() {
  PipeServer server;
  if (!openPipeServer(server))
    return;
  for (;;) {
    std::vector<HANDLE> handles{vStop};
    for (HANDLE event : pipeEvents(server))
      handles.push_back(event);
    const DWORD woken =
        WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, dropLateCallers(server));
    if (woken == WAIT_OBJECT_0)
      break;
    if (woken > WAIT_OBJECT_0 && woken < WAIT_OBJECT_0 + handles.size())
      servePipe(server, woken - WAIT_OBJECT_0 - 1, answer);
  }
  closePipeServer(server);
}

double medianMilliseconds(int rounds, const std::string& request) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    std::string reply;
    const auto start = std::chrono::steady_clock::now();
    if (!rt::askGuardPipe(request, reply, 5))
      return -1;
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  const auto folder = std::filesystem::temp_directory_path();
  vSession.dataFilePath = (folder / "orrindale-pipe-bench.dat").string();
  vSession.logPath = (folder / "orrindale-pipe-bench.log").string();
  std::fclose(std::fopen(vSession.dataFilePath.c_str(), "w"));
  InstallDefaults();
  vTable.password = hashPassword("bench password");
  vTable.user(1).field(kAccount) = "bench";
  vTable.user(1).field(kMinutesLeft) = "1440";
  RewriteDataFile();
  loadKeptTable(vKeeper);
  vStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread server(serve);

  GuardRequest minute = guardRequest(GuardVerb::Minute);
  minute.namedAccount = "bench";
  GuardRequest check = guardRequest(GuardVerb::Check);
  check.password = "bench password";
  std::printf("a minute through the guard's pipe, round trip  %8.2f ms (median of 200; target under 5 ms)\n",
              medianMilliseconds(200, encodeRequest(minute)));
  std::printf("a password check through the pipe (one hash)   %8.2f ms (median of 9)\n",
              medianMilliseconds(9, encodeRequest(check)));
  SetEvent(vStop);
  server.join();
  std::filesystem::remove(vSession.dataFilePath);
  std::filesystem::remove(vSession.logPath);
  return 0;
}
