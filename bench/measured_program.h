#pragma once
// One run of a program under measurement: started with an environment block of its own (so
// that it sees the account the data file admits), timed to the line its start-up writes to
// the activity log, and looked at from outside while it runs: its peak working set and the
// processor time Linux counts for its threads.
#include <windows.h>

#include <optional>
#include <string>

class MeasuredProgram {
 public:
  // Starts the program with "2" (test mode) as its first argument and USERNAME set to the
  // account; `tag` goes on its command line too, so that its Linux process can be found.
  MeasuredProgram(const std::string& program, const std::string& account, const std::string& tag);
  // Ends the program.
  ~MeasuredProgram();
  MeasuredProgram(const MeasuredProgram&) = delete;
  MeasuredProgram& operator=(const MeasuredProgram&) = delete;

  // Milliseconds from the start of the process to the log line, or nothing when the line
  // did not come within 20 s or the process did not start.
  std::optional<double> waitForReadyLine(const std::string& logFile, const std::string& readyText);
  // The most memory the process has had in its working set so far, in bytes.
  double peakWorkingSet() const;
  // Nanoseconds its threads have run, from the Linux scheduler; nothing when the Linux process
  // cannot be found.
  std::optional<double> runTimeNs();

 private:
  PROCESS_INFORMATION process_{};
  LARGE_INTEGER started_{};
  std::string tag_;
  int linuxPid_ = 0;
};
