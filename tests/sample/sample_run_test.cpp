// Runs the sample program as a user would: types into its edit field, switches to the other
// tab, presses the button, reads the status bar, and closes its window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kDeadlineMs = 20000;

std::string folderOfThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// Waits for the window while the program starts; a program that ends first has none.
HWND waitForWindow(HANDLE process, const char* title) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kDeadlineMs) {
    if (HWND window = FindWindowA(nullptr, title); window && IsWindowVisible(window))
      return window;
    if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0)
      return nullptr;
  }
  return nullptr;
}

// Sent with a time-out: a program that stops answering fails the test instead of hanging it.
LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kDeadlineMs, &result))
      << "message " << message << " got no answer";
  return static_cast<LRESULT>(result);
}

std::string textOf(HWND window) {
  char text[256] = {};
  send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace

TEST(SampleProgram, RunsUntilItsWindowIsClosed) {
  std::string command = "\"";
  command += folderOfThisProgram();
  command += "framework_sample.exe\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  CloseHandle(process.hThread);

  const HWND window = waitForWindow(process.hProcess, "Framework sample");
  ASSERT_NE(window, nullptr);
  const HWND tabs = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
  const HWND edit = FindWindowExA(tabs, nullptr, "Edit", nullptr);
  const HWND button = FindWindowExA(tabs, nullptr, "Button", nullptr);
  const HWND status = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
  ASSERT_TRUE(tabs && edit && button && status);
  EXPECT_EQ(textOf(status), "Ready");
  EXPECT_TRUE(IsWindowVisible(edit));
  EXPECT_FALSE(IsWindowVisible(button));

  send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello"));
  send(tabs, TCM_SETCURFOCUS, 1, 0);
  EXPECT_TRUE(IsWindowVisible(button)) << "the tab change shows the button's page";
  EXPECT_FALSE(IsWindowVisible(edit));
  send(button, BM_CLICK, 0, 0);
  EXPECT_EQ(textOf(status), "Copied: hello");

  PostMessageA(window, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(process.hProcess, kDeadlineMs) == WAIT_OBJECT_0;
  if (!ended)
    TerminateProcess(process.hProcess, 2);
  ASSERT_TRUE(ended);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hProcess);
}
