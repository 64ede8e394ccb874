// What terminal.h declares, on Windows: a terminal is a console, and echo is turned off in
// the console's input mode while the line is read.
#include <windows.h>

#include <cstdio>

#include "admin/terminal.h"
#include "admin/text_streams.h"

bool stdinIsTerminal() {
  DWORD mode = 0;
  // Only a console has a console mode: a pipe, a file or NUL does not.
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

bool askWithoutEcho(TextWriter& prompts, const std::string& prompt, std::string& line) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  const bool console = GetConsoleMode(input, &saved) != 0;
  if (console)
    SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  prompts << prompt;
  prompts.flush();
  const bool read = TextReader(stdin).getline(line);
  if (console)
    SetConsoleMode(input, saved);
  prompts << "\n";
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return read;
}
