#pragma once
// The data file: the UsageTable as 105 scrambled text lines, one field per line, read
// and rewritten whole under an exclusive whole-file lock shared with the other copies
// of the program.
#include <string>

namespace rt {
class TextFile;
}

// How a load waits for the file's lock. The program retries for about a minute and then
// ends (LockDataFile); a process that must keep running takes one attempt and comes back later.
enum class LockWait { RetryThenEnd, TryOnce };

// What LoadData(LockWait::TryOnce) returns when another process holds the lock. Nothing is
// logged and the table is left as it was.
constexpr int kDataFileLocked = -2;

// Loads the file over the table. -1 when the file cannot be read (the table is left as
// it was), otherwise the number of lines read.
int LoadData(LockWait wait = LockWait::RetryThenEnd);

// Writes the whole table to the file. Failures are logged, never raised; false when the
// file was not written.
bool SaveData();

// Writes already built file text over the start of the existing data file; false when it
// could not be opened or not all of the text was written.
bool WriteDataFile(const std::string& text);

// Takes the file's lock, retrying every 5 s; gives up after about a minute by logging
// and ending the process with the status r_lockGaveUp gives. Returns 1.
int LockDataFile(rt::TextFile& file);

// Runs when the lock stayed taken for over a minute, just before the process ends: reports
// the time-out in the caller's own way and returns the exit status. The program's routine
// reports nothing more than the log line and gives 1.
extern int (*r_lockGaveUp)();

// XORs each character with the scramble byte; scrambling twice gives the text back.
std::string ScrambleText(const std::string& text);

// The byte every character of the data file is XORed with.
unsigned char scrambleByte();
