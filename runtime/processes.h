#pragma once
// What the core needs of its own process: environment variables, the command line, the
// standard output, ending with a status, the paths of the system's programs, and running a
// command through the system's command interpreter.
#include <string>

namespace rt {

// The variable's value, or "" when it is not set.
std::string getEnv(const std::string& name);
void setEnv(const std::string& name, const std::string& value);

// Keeps the program's arguments; argument(0) is the program path, "" past the last one.
void setArguments(int argc, char** argv);
std::string argument(int index);

// Writes the text to the standard output at once.
void writeStdout(const std::string& text);

// Ends the process with the status, flushing standard streams first.
[[noreturn]] void exitProcess(int status);

// Ends the process at once, as a kill from outside would: nothing is flushed or cleaned up.
[[noreturn]] void killProcess();

// Runs the command line through the command interpreter (the system folder's cmd.exe /c,
// or /bin/sh -c), without a console window, and waits for it. Returns its exit status, or
// -1 when it could not be started.
int runCommand(const std::string& commandLine);

// The full path of the system's program of that name (without ".exe"): on Windows
// "<system folder>\name.exe" (on 64-bit Windows the native one, "<Windows>\Sysnative"), so that
// no folder of the account's choosing is searched. POSIX has no system log-off and runs only
// tests: there it is the bare name, found on PATH.
std::string systemProgram(const std::string& name);

}  // namespace rt
