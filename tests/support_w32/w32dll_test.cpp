// Late-bound platform routines: a library loaded with its first routine, routine ids, calls
// with numbers, texts and bytes, the rich edit library, and unknown or missing routines.
#include "support/w32dll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/fixtures/dialog_answerer.h"

namespace {

const std::string kFatalTitle = "Larkspur AppWindow - Fatal Error";

std::map<std::string, int> vLoads;
std::vector<std::string> vMissing;

// Counts the loads and pretends the libraries in vMissing are not installed.
HMODULE countingLoader(const char* name) {
  ++vLoads[name];
  if (std::find(vMissing.begin(), vMissing.end(), name) != vMissing.end())
    return nullptr;
  return LoadLibraryA(name);
}

std::vector<std::string> vReports;

void recordReport(const W32Error& error) {
  vReports.push_back(error.message);
}

const W32Library& library(int id) {
  return vw32Libraries[id - 1];
}

const W32Routine& routine(int id) {
  return vw32Routines[id - kMagicRtnID - 1];
}

class W32Dll : public testing::Test {
 protected:
  void SetUp() override {
    vLoads.clear();
    vMissing.clear();
    vReports.clear();
    previousLoader = r_loadLibrary;
    r_loadLibrary = countingLoader;
    w32dllStartup();
  }
  void TearDown() override {
    r_loadLibrary = previousLoader;
    w32dllStartup();
  }
  W32LibraryLoader previousLoader = nullptr;
};

}  // namespace

TEST_F(W32Dll, FirstRoutineLoadsItsLibraryOnceAndBindsOnlyItself) {
  EXPECT_EQ(library(w32lib::User32).state.alternative, 0);
  EXPECT_EQ(routine(rtn::GetSystemMetrics).handle, 0);

  EXPECT_EQ(w32Func(rtn::GetSystemMetrics, {SM_CXSCREEN}), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(vLoads["user32.dll"], 1);
  EXPECT_EQ(library(w32lib::User32).state.alternative, 1);
  EXPECT_EQ(library(w32lib::User32).state.handle, GetModuleHandleA("user32.dll"));
  EXPECT_NE(routine(rtn::GetSystemMetrics).handle, 0);
  EXPECT_EQ(routine(rtn::IsWindowVisible).handle, 0);

  const int bound = routine(rtn::GetSystemMetrics).handle;
  EXPECT_EQ(w32Func(rtn::IsWindowVisible, {nullptr}), 0);
  w32Func(rtn::GetSystemMetrics, {SM_CYSCREEN});
  EXPECT_EQ(vLoads["user32.dll"], 1);
  EXPECT_EQ(routine(rtn::GetSystemMetrics).handle, bound);
  EXPECT_EQ(library(w32lib::Gdi32).state.handle, nullptr);
}

TEST_F(W32Dll, IdsCountFromTheMagicNumberAndHandlesCallDirectly) {
  EXPECT_STREQ(routine(kMagicRtnID + 1).name, "AppendMenuA");
  EXPECT_EQ(w32Func(kMagicRtnID + 1, {nullptr, MF_STRING, 1, "item"}), 0);
  EXPECT_NE(vw32Routines[0].handle, 0);

  const int handle = w32CallHandle(rtn::lstrlen);
  EXPECT_GT(handle, 0);
  EXPECT_LE(handle, kMagicRtnID);
  EXPECT_EQ(w32Func(handle, {"four"}), 4);
  const int linked = linkFunc(GetModuleHandleA("kernel32.dll"), "lstrlenA", 1);
  EXPECT_EQ(w32Func(linked, {std::string("seven..")}), 7);
}

TEST_F(W32Dll, W32CallBindsOnItsFirstCallAndPassesNumbersAndAddresses) {
  EXPECT_EQ(routine(rtn::GetSystemMetrics).handle, 0);
  EXPECT_EQ(w32Call(rtn::GetSystemMetrics, SM_CXSCREEN), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_NE(routine(rtn::GetSystemMetrics).handle, 0);
  EXPECT_EQ(vLoads["user32.dll"], 1);
  const char text[] = "eleven char";
  EXPECT_EQ(w32Call(rtn::lstrlen, text), 11);
}

TEST_F(W32Dll, TextAndBytesArriveZeroTerminatedAndAreReleasedAfterTheCall) {
  const W32AbortRoutine previous = w32llSetAbort(recordReport);
  const int live = w32liveBlocks();
  const std::string text = "hello";
  EXPECT_EQ(w32Func(rtn::lstrlen, {text}), 5);
  EXPECT_EQ(w32Func(rtn::lstrlen, {W32Bytes{'a', 'b', 'c'}}), 3);

  // lstrcpy writes into the copy of its first argument and returns that copy's address.
  const int copy = w32Func(rtn::lstrcpy, {text, "HI"});
  EXPECT_EQ(text, "hello");
  EXPECT_EQ(w32liveBlocks(), live);
  w32release_mem(reinterpret_cast<void*>(copy));
  w32llSetAbort(previous);
  EXPECT_EQ(vReports, std::vector<std::string>{"Trying to release unacquired memory"});
}

TEST_F(W32Dll, RichEditLibraryWaitsForItsClassAndTheClassFollowsTheLibraryThatLoaded) {
  EXPECT_EQ(vLoads["Msftedit.dll"], 0);
  EXPECT_EQ(library(w32lib::RichEdit).state.alternative, 0);
  EXPECT_STREQ(richEditClass(), "RICHEDIT50W");
  EXPECT_STREQ(richEditClass(), "RICHEDIT50W");
  EXPECT_EQ(vLoads["Msftedit.dll"], 1);

  vMissing = {"Msftedit.dll"};
  w32dllStartup();
  EXPECT_STREQ(richEditClass(), "RichEdit20A");
  EXPECT_EQ(library(w32lib::RichEdit).state.handle, GetModuleHandleA("riched20.dll"));

  vMissing = {"Msftedit.dll", "riched20.dll"};
  w32dllStartup();
  EXPECT_STREQ(richEditClass(), "RICHEDIT");
  EXPECT_EQ(library(w32lib::RichEdit).state.alternative, 3);
}

using W32DllDeathTest = W32Dll;

TEST_F(W32DllDeathTest, UnknownIdsAndMissingRoutinesAreFatal) {
  const auto fatal = [](auto statement) {
    DialogAnswerer answerer(kFatalTitle, IDOK);
    statement();
  };
  EXPECT_EXIT(fatal([] { w32Func(kMagicRtnID + kRoutineCount + 1); }), testing::ExitedWithCode(1),
              "Error code 425\nAn unknown GUI function ID used.");
  EXPECT_EXIT(fatal([] { w32Proc(0); }), testing::ExitedWithCode(1), "Error code 425");
  EXPECT_EXIT(fatal([] { w32Func(kMagicRtnID); }), testing::ExitedWithCode(1), "Error code 425");
  EXPECT_EXIT(fatal([] { linkFunc(GetModuleHandleA("user32.dll"), "NoSuchRoutine", 0); }), testing::ExitedWithCode(1),
              "Error code 464\nCouldn't link to C function 'NoSuchRoutine'");
  EXPECT_EXIT(fatal([] { linkProc(GetModuleHandleA("user32.dll"), "NoSuchRoutine", 0); }), testing::ExitedWithCode(1),
              "Error code 463\nCouldn't link to C procedure 'NoSuchRoutine'");
  EXPECT_EXIT(fatal([] { w32Func(rtn::lstrlen); }), testing::ExitedWithCode(1),
              "'lstrlen' takes 1 argument words, not 0.");
  EXPECT_EXIT(fatal([] { w32Call(rtn::lstrlen, 1, 2); }), testing::ExitedWithCode(1),
              "'lstrlen' takes 1 argument words, not 2.");
  EXPECT_EXIT(fatal([] { w32Call(kMagicRtnID + kRoutineCount + 1); }), testing::ExitedWithCode(1), "Error code 425");
}

TEST_F(W32DllDeathTest, NoRichEditLibraryStopsTheProgramAtTheFirstRichEdit) {
  vMissing = {"Msftedit.dll", "riched20.dll", "riched32.dll"};
  w32dllStartup();
  EXPECT_EXIT(
      {
        DialogAnswerer answerer(kFatalTitle, IDOK);
        richEditClass();
      },
      testing::ExitedWithCode(1), "Error code 465\nCouldn't find DLL 'Msftedit.dll'");
}
