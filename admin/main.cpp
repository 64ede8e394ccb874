// orrindale-admin: the administration tool's program; everything else is in the library.
#include <iostream>

#include "admin/admin.h"
#include "admin/terminal.h"

int main(int argc, char** argv) {
  Console console{std::cin, std::cout, std::cerr, stdinIsTerminal()};
  return runAdmin({argv + 1, argv + argc}, console);
}
