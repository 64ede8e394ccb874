#pragma once
// Failures of the platform's file calls that tests switch on, so that a full disk, a refused
// or short write and a failing read can be shown in every build without special mounts or
// rights. Nothing but tests sets them; with none set every call goes through untouched.
#include <cstddef>

namespace rt {

struct FileFaults {
  int writeCallsBeforeFailure = -1;  // -1: no write call fails; 0: the next one does
  bool shortWrite = false;           // the failing call writes the first half of its bytes
  long long spaceLeft = -1;          // bytes all files together may still grow by; -1: no limit
  long long readableBytes = -1;      // reads past this many bytes of a file fail; -1: no limit
  int writeCallsBeforeKill = -1;     // -1: none; n: the process is killed at the call after n
};

// Replaces the faults in force; FileFaults{} clears them.
void injectFileFaults(const FileFaults& faults);

namespace injected {
// How many of the bytes of a write call at the offset, into a file of the given size, get
// through; fewer than asked means the call fails after writing them.
std::size_t writableBytes(long long offset, std::size_t size, long long fileSize);
// Whether a read that would reach this position of a file fails.
bool readFails(long long endPosition);
}  // namespace injected

}  // namespace rt
