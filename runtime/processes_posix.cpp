// What processes.h declares that differs on POSIX: setting a variable, the kill, the system's
// programs by name, and running a command through /bin/sh.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "runtime/processes.h"

extern char** environ;

namespace rt {

void setEnv(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void killProcess() {
  ::raise(SIGKILL);
  std::abort();  // not reached: SIGKILL cannot be caught
}

int runCommand(const std::string& commandLine) {
  std::fflush(nullptr);
  const char* args[] = {"/bin/sh", "-c", commandLine.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(args), environ) != 0)
    return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR)
      return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string systemProgram(const std::string& name) {
  return name;
}

}  // namespace rt
