#include "support/w32dll.h"

#include <array>
#include <utility>

namespace {

using AnyRoutine = void (*)();

// A bound routine, named by its call handle (its position in vCalls, from 1).
struct Call {
  AnyRoutine address;
  int words;
  std::string name;
};

// The most argument words a listed routine takes is 13 (StretchDIBits).
constexpr std::size_t kMaxWords = 16;

constinit std::vector<Call> vCalls;

HMODULE loadLibrary(const char* name) {
  return LoadLibraryA(name);
}

template <std::size_t... I>
std::uint32_t callWith(AnyRoutine address, const std::uint32_t* words, std::index_sequence<I...>) {
  using Routine = std::uint32_t(__stdcall*)(decltype((void)I, std::uint32_t{})...);
  return reinterpret_cast<Routine>(address)(words[I]...);
}

// A __stdcall routine removes its arguments from the stack itself, so it must be called
// with exactly the number of words it takes: one call shape per count.
template <std::size_t... N>
std::uint32_t callWithCount(AnyRoutine address,
                            const std::uint32_t* words,
                            std::size_t count,
                            std::index_sequence<N...>) {
  std::uint32_t result = 0;
  (void)((count == N && (result = callWith(address, words, std::make_index_sequence<N>{}), true)) || ...);
  return result;
}

void load(W32Library& library) {
  std::vector<std::string> names;
  for (const char* name : library.names)
    if (name)
      names.emplace_back(name);
  library.state = linkDLL(names);
}

int link(HMODULE library, const std::string& name, int words, bool function) {
  const FARPROC address = library ? GetProcAddress(library, name.c_str()) : nullptr;
  if (!address || words < 0 || static_cast<std::size_t>(words) > kMaxWords) {
    if (function)
      abortErr({w32code::LinkFunction, {name}});
    else
      abortErr({w32code::LinkProcedure, {name}});
    return 0;
  }
  vCalls.push_back({reinterpret_cast<AnyRoutine>(address), words, name});
  return static_cast<int>(vCalls.size());
}

// The call handle for the id, binding a table routine (and loading its library) the first
// time; 0 after reporting an id that names no routine.
int resolve(int routineId, bool function) {
  if (routineId > kMagicRtnID) {
    const int index = routineId - kMagicRtnID;
    if (index > kRoutineCount) {
      abortErr(w32code::UnknownFunctionId);
      return 0;
    }
    W32Routine& routine = vw32Routines[index - 1];
    if (routine.handle == 0) {
      W32Library& library = vw32Libraries[routine.library - 1];
      if (!library.state.handle)
        load(library);
      routine.handle = link(library.state.handle, routine.name, routine.words, function);
      if (routine.handle != 0)
        routine.entry = vCalls[routine.handle - 1].address;
    }
    return routine.handle;
  }
  // Any other positive number would be taken as a routine address and called.
  if (routineId <= 0 || routineId > static_cast<int>(vCalls.size())) {
    abortErr(w32code::UnknownFunctionId);
    return 0;
  }
  return routineId;
}

std::uint32_t call(int routineId, const W32Args& args, bool function) {
  int callSet = 0;
  // On the stack: the platform is called on every message, and most calls pass only numbers.
  std::array<std::uint32_t, kMaxWords> words;
  const std::size_t count = args.size();
  for (std::size_t i = 0; i < count && i < kMaxWords; ++i) {
    const W32Arg& arg = args[i];
    if (const auto* number = std::get_if<std::uint32_t>(&arg.value)) {
      words[i] = *number;
      continue;
    }
    if (callSet == 0)
      callSet = w32new_memset();
    void* block = std::holds_alternative<std::string>(arg.value)
                      ? w32acquire_mem(callSet, std::get<std::string>(arg.value))
                      : w32acquire_mem(callSet, std::get<W32Bytes>(arg.value));
    words[i] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
  }

  std::uint32_t result = 0;
  if (const int handle = resolve(routineId, function)) {
    // Read before the call: a routine that calls back into the program may bind more
    // routines meanwhile, and vCalls may move.
    const Call& routine = vCalls[handle - 1];
    const AnyRoutine address = routine.address;
    if (count == static_cast<std::size_t>(routine.words))
      result = callWithCount(address, words.data(), count, std::make_index_sequence<kMaxWords + 1>{});
    else
      abortErr(w32Format("'%s' takes %d argument words, not %d.",
                         {routine.name, routine.words, static_cast<long long>(count)}));
  }
  if (callSet != 0)
    w32release_mem(callSet);
  return result;
}

}  // namespace

W32Library vw32Libraries[kLibraryCount] = {
    {{"user32.dll"}, {}},   {{"gdi32.dll"}, {}},
    {{"comctl32.dll"}, {}}, {{"comdlg32.dll"}, {}},
    {{"kernel32.dll"}, {}}, {{"shell32.dll"}, {}},
    {{"advapi32.dll"}, {}}, {{"ole32.dll"}, {}},
    {{"winmm.dll"}, {}},    {{"Msftedit.dll", "riched20.dll", "riched32.dll"}, {}},
};

W32Routine vw32Routines[kRoutineCount] = {
#define W32_ROUTINE_ENTRY(library, name, words) {w32lib::library, #name, words, 0, nullptr},
    W32_ROUTINES(W32_ROUTINE_ENTRY)
#undef W32_ROUTINE_ENTRY
};

W32LibraryLoader r_loadLibrary = loadLibrary;

int w32Func(int routineId, const W32Args& args) {
  return static_cast<int>(call(routineId, args, true));
}

void w32Proc(int routineId, const W32Args& args) {
  call(routineId, args, false);
}

int w32CallHandle(int routineId) {
  return resolve(routineId, true);
}

W32Entry w32BindEntry(int routineId, int words) {
  const int handle = resolve(routineId, true);
  if (handle == 0)
    return nullptr;
  const Call& routine = vCalls[handle - 1];
  if (routine.words != words) {
    abortErr(w32Format("'%s' takes %d argument words, not %d.", {routine.name, routine.words, words}));
    return nullptr;
  }
  return routine.address;
}

W32LoadState linkDLL(const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (const HMODULE handle = r_loadLibrary(names[i].c_str()))
      return {static_cast<int>(i) + 1, handle};
  }
  abortErr({w32code::FindLibrary, {names.empty() ? std::string() : names.front()}});
  return {};
}

int linkFunc(HMODULE library, const std::string& name, int words) {
  return link(library, name, words, true);
}

int linkProc(HMODULE library, const std::string& name, int words) {
  return link(library, name, words, false);
}

const char* richEditClass() {
  // The library has no routine of the table to be loaded with, only window classes; with its
  // dependencies it would take more than a megabyte of memory from a program that shows none.
  W32Library& richEdit = vw32Libraries[w32lib::RichEdit - 1];
  if (!richEdit.state.handle)
    load(richEdit);
  switch (richEdit.state.alternative) {
    case 1:
      return "RICHEDIT50W";
    case 2:
      return "RichEdit20A";
    default:
      return "RICHEDIT";
  }
}

void w32dllStartup() {
  for (W32Library& library : vw32Libraries)
    library.state = {};
  for (W32Routine& routine : vw32Routines) {
    routine.handle = 0;
    routine.entry = nullptr;
  }
  w32Proc(rtn::InitCommonControls);
}

namespace {
[[maybe_unused]] const bool vStarted = (w32dllStartup(), true);
}
