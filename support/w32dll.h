#pragma once
// The platform routines the framework calls: a table of libraries and routines bound by name
// at their first call (a library is loaded with its first routine), and the calls through
// them, w32Func and w32Proc, whose text and byte-list arguments travel in native memory.
#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "support/w32memset.h"
#include "support/w32routines.h"

// Routine ids above this are kMagicRtnID + a position in vw32Routines (from 1); positive ids
// up to it are call handles from linkFunc and linkProc.
constexpr int kMagicRtnID = 0x80000;

namespace w32lib {
enum : int { User32 = 1, Gdi32, Comctl32, Comdlg32, Kernel32, Shell32, Advapi32, Ole32, Winmm, RichEdit };
}
constexpr int kLibraryCount = w32lib::RichEdit;

// The routine ids, by platform name: rtn::SendMessageA and so on.
namespace rtn {
// clang-format off
enum : int {
  kBeforeFirst = kMagicRtnID,
#define W32_ROUTINE_ID(library, name, words) name,
  W32_ROUTINES(W32_ROUTINE_ID)
#undef W32_ROUTINE_ID
  kAfterLast
};
// clang-format on
}  // namespace rtn
constexpr int kRoutineCount = rtn::kAfterLast - kMagicRtnID - 1;

// Where a library stands: {0, nullptr} until loaded, then the position (from 1) of the
// alternative name that loaded and the library's handle.
struct W32LoadState {
  int alternative = 0;
  HMODULE handle = nullptr;
};

struct W32Library {
  const char* names[3];  // file names tried in order; unused places are nullptr
  W32LoadState state;
};

// handle is 0 and entry nullptr until the first call binds the routine.
struct W32Routine {
  int library;
  const char* name;
  int words;
  int handle;
  void (*entry)();
};

extern W32Library vw32Libraries[kLibraryCount];  // library id n is vw32Libraries[n - 1]
extern W32Routine vw32Routines[kRoutineCount];   // routine id kMagicRtnID + n is vw32Routines[n - 1]

// One argument of a platform call. Numbers, handles and addresses are passed as 32-bit
// words; a text or a byte list is copied, with a terminating zero byte, into native memory
// that lives for the call, and its address is passed. (A char buffer the routine should write
// into is passed as an address: static_cast<void*>(buffer).)
struct W32Arg {
  std::variant<std::uint32_t, std::string, W32Bytes> value;

  template <typename T>
  requires(std::is_integral_v<T> || std::is_enum_v<T>) W32Arg(T number) : value(static_cast<std::uint32_t>(number)) {}
  W32Arg(const void* address) : value(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address))) {}
  W32Arg(std::nullptr_t) : value(std::uint32_t{0}) {}
  W32Arg(const char* text) : value(std::string(text)) {}
  W32Arg(std::string text) : value(std::move(text)) {}
  W32Arg(W32Bytes bytes) : value(std::move(bytes)) {}
};
using W32Args = std::vector<W32Arg>;

// Calls the routine (a routine id or a call handle) and returns its 32-bit result as it is;
// the routine's own failure values (0, -1) are the caller's to judge. An id that names no
// routine is the fatal error 425; a routine that cannot be bound, 464 (w32Func) or 463
// (w32Proc); a library that cannot be loaded, 465.
int w32Func(int routineId, const W32Args& args = {});
void w32Proc(int routineId, const W32Args& args = {});

// Binds the routine now, if its first call has not, and returns its call handle: for the
// few routines called on every message, which then skip the table.
int w32CallHandle(int routineId);

// The entry point of a table routine (bound now if need be) that takes that many argument
// words, for w32Call; nullptr after reporting what w32Func reports for the same call.
using W32Entry = void (*)();
W32Entry w32BindEntry(int routineId, int words);

// The same, read straight from the routine's row once it is bound: w32Call runs several times
// for every message, and a bound routine then costs one look at one row.
inline W32Entry w32Entry(int routineId, int words) {
  if (routineId > kMagicRtnID && routineId < rtn::kAfterLast) {
    const W32Routine& routine = vw32Routines[routineId - kMagicRtnID - 1];
    if (routine.entry && routine.words == words)
      return routine.entry;
  }
  return w32BindEntry(routineId, words);
}

// An argument of w32Call as the 32-bit word the platform receives.
template <typename T>
requires(std::is_integral_v<T> || std::is_enum_v<T>) std::uint32_t w32Word(T number) {
  return static_cast<std::uint32_t>(number);
}
inline std::uint32_t w32Word(const void* address) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address));
}

// w32Func for a table routine whose arguments are all numbers or addresses, without the
// argument list w32Func builds: for the routines that run on every message or every second.
template <typename... Words>
int w32Call(int routineId, Words... words) {
  using Routine = std::uint32_t(__stdcall*)(decltype(w32Word(words))...);
  const W32Entry entry = w32Entry(routineId, static_cast<int>(sizeof...(Words)));
  return entry ? static_cast<int>(reinterpret_cast<Routine>(entry)(w32Word(words)...)) : 0;
}

// Loads the first of the names that loads; none loading is the fatal error 465 naming the
// first.
W32LoadState linkDLL(const std::vector<std::string>& names);
// A call handle for the routine of that name in the loaded library, taking that many 32-bit
// words; fatal 464 (linkFunc) or 463 (linkProc) when the library has no such routine.
int linkFunc(HMODULE library, const std::string& name, int words);
int linkProc(HMODULE library, const std::string& name, int words);

// How libraries are loaded: LoadLibraryA unless a test puts a stand-in here.
using W32LibraryLoader = HMODULE (*)(const char* name);
extern W32LibraryLoader r_loadLibrary;

// The window class of rich edit controls. The first call loads the rich-edit library, the
// first of "Msftedit.dll", "riched20.dll" and "riched32.dll" that loads (none is the fatal
// error 465), and the class follows it: "RICHEDIT50W", "RichEdit20A" or "RICHEDIT".
const char* richEditClass();

// Runs when the program starts: every library unloaded and every routine unbound, then the
// common controls initialised. The rich-edit library waits for the first rich edit control.
void w32dllStartup();
