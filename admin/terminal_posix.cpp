// What terminal.h declares, on POSIX: a terminal is what isatty says, and echo is turned off
// in the terminal's attributes while the line is read.
#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "admin/terminal.h"
#include "admin/text_streams.h"

bool stdinIsTerminal() {
  return isatty(STDIN_FILENO) == 1;
}

bool askWithoutEcho(TextWriter& prompts, const std::string& prompt, std::string& line) {
  termios saved{};
  const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  prompts << prompt;
  prompts.flush();
  const bool read = TextReader(stdin).getline(line);
  if (terminal)
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  prompts << "\n";
  return read;
}
