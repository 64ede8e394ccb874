// orrindale-admin: the administration tool's program; everything else is in the library.
#include <cstdio>

#include "admin/admin.h"
#include "admin/terminal.h"

int main(int argc, char** argv) {
  TextReader in(stdin);
  TextWriter out(stdout);
  TextWriter err(stderr);
  Console console{in, out, err, stdinIsTerminal()};
  return runAdmin({argv + 1, argv + argc}, console);
}
