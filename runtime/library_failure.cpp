// What library_failure.h declares, and the C++ library's routines it replaces. Linked into a
// program as an object of its own, these definitions come before the library's: the library's
// throw routines would bring its exception classes, the old strings they keep their texts in,
// the unwinder and the exception allocator's thread lock into a program that never catches.
#include "runtime/library_failure.h"

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>  // declares the library's throw routines

namespace rt {
namespace {

LibraryFailureReport vReport = nullptr;
bool vReporting = false;

// Built without exceptions, the library's headers abort where they would throw (a variant read
// as what it does not hold, an optional without a value); the signal brings that to the report.
void onAbort(int) {
  libraryFailed("abort called");
}
[[maybe_unused]] const bool vAbortCaught = (std::signal(SIGABRT, onAbort), true);

// A text of the library's own formats, which use only %s, %zu and %%; like the library, this
// fills them without printf.
void fill(char* text, std::size_t size, const char* format, std::va_list args) {
  std::size_t used = 0;
  const auto add = [&](const char* part) {
    for (; *part && used + 1 < size; ++part)
      text[used++] = *part;
  };
  for (const char* c = format; *c; ++c) {
    if (c[0] == '%' && c[1] == 's') {
      add(va_arg(args, const char*));
      c += 1;
    } else if (c[0] == '%' && c[1] == 'z' && c[2] == 'u') {
      char digits[24];
      char* first = digits + sizeof digits - 1;
      *first = '\0';
      std::size_t number = va_arg(args, std::size_t);
      do {
        *--first = static_cast<char>('0' + number % 10);
        number /= 10;
      } while (number != 0);
      add(first);
      c += 2;
    } else {
      const char one[2] = {*c, '\0'};
      add(one);
      c += c[0] == '%' && c[1] == '%';
    }
  }
  text[used] = '\0';
}

}  // namespace

void onLibraryFailure(LibraryFailureReport report) {
  vReport = report;
}

void libraryFailed(const char* what) {
  if (vReport && !vReporting) {
    vReporting = true;
    vReport(what);
  }
  std::fputs("The C++ library cannot go on: ", stderr);
  std::fputs(what, stderr);
  std::fputs("\n", stderr);
  std::fflush(stderr);
  std::_Exit(3);
}

}  // namespace rt

namespace std {
void __throw_bad_exception() {
  rt::libraryFailed("bad exception");
}
void __throw_bad_alloc() {
  rt::libraryFailed("out of memory");
}
void __throw_bad_array_new_length() {
  rt::libraryFailed("bad array new length");
}
void __throw_bad_cast() {
  rt::libraryFailed("bad cast");
}
void __throw_bad_typeid() {
  rt::libraryFailed("bad typeid");
}
void __throw_logic_error(const char* what) {
  rt::libraryFailed(what);
}
void __throw_domain_error(const char* what) {
  rt::libraryFailed(what);
}
void __throw_invalid_argument(const char* what) {
  rt::libraryFailed(what);
}
void __throw_length_error(const char* what) {
  rt::libraryFailed(what);
}
void __throw_out_of_range(const char* what) {
  rt::libraryFailed(what);
}
void __throw_out_of_range_fmt(const char* format, ...) {
  char text[512];
  std::va_list args;
  va_start(args, format);
  rt::fill(text, sizeof text, format, args);
  va_end(args);
  rt::libraryFailed(text);
}
void __throw_runtime_error(const char* what) {
  rt::libraryFailed(what);
}
void __throw_range_error(const char* what) {
  rt::libraryFailed(what);
}
void __throw_overflow_error(const char* what) {
  rt::libraryFailed(what);
}
void __throw_underflow_error(const char* what) {
  rt::libraryFailed(what);
}
void __throw_bad_function_call() {
  rt::libraryFailed("bad function call");
}
}  // namespace std

// The default terminate handler names the exception's type through the library's demangler;
// nothing here throws, so a terminate can only be the library's own.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  rt::libraryFailed("terminate called");
}
}  // namespace __gnu_cxx

// The library's operator new throws, and its forms that return null on failure catch that.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size ? size : 1))
    return memory;
  rt::libraryFailed("out of memory");
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
