// What the program says when an exception reaches the top: it never throws one itself, but the
// C++ library may (out of memory). The library's own handler names the exception's type
// through the C++ symbol demangler, which alone is about 37 KB of the program; this one,
// linked into the program in its place, gives the exception's message and no type name.
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  static bool terminating = false;
  if (terminating) {
    std::fputs("terminate called recursively\n", stderr);
    std::abort();
  }
  terminating = true;
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "terminate called after throwing an exception: %s\n", error.what());
    } catch (...) {
      std::fputs("terminate called after throwing an exception\n", stderr);
    }
  } else {
    std::fputs("terminate called without an active exception\n", stderr);
  }
  std::abort();
}

}  // namespace __gnu_cxx
