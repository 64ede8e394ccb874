// A stand-in for the system's icacls.exe in the installer's Wine prefix, where the real one sets
// nothing and says nothing: each run appends its arguments, as one line, to icacls-calls.txt
// beside it, and succeeds.
#include <windows.h>

#include <fstream>
#include <string>

int main() {
  const std::string line = GetCommandLineA();
  // The program's own name comes first, quoted when it holds blanks.
  const std::size_t nameEnd = line.starts_with('"') ? line.find('"', 1) + 1 : line.find(' ');
  const std::size_t arguments = line.find_first_not_of(' ', nameEnd);
  char self[MAX_PATH] = {};
  const std::string program(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  std::ofstream(program.substr(0, program.find_last_of('\\') + 1) + "icacls-calls.txt", std::ios::app)
      << (arguments == std::string::npos ? "" : line.substr(arguments)) << "\n";
  return 0;
}
