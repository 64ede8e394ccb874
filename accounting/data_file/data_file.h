#pragma once
// The data file: the UsageTable as 105 scrambled text lines, one field per line, read
// and rewritten whole under an exclusive whole-file lock shared with the other copies
// of the program. A file that is not a whole data file is never loaded or written over.
#include <string>
#include <vector>

namespace rt {
class TextFile;
}

// How a load waits for the file's lock. The program retries for about a minute and then
// ends (LockDataFile); a process that must keep running takes one attempt and comes back later.
enum class LockWait { RetryThenEnd, TryOnce };

// Loads the file over the table. -1 when the file cannot be read, which includes a file
// that is not a whole data file (the table is left as it was); otherwise the number of
// lines read.
int LoadData(LockWait wait = LockWait::RetryThenEnd);

// Why the last LoadData returned -1; None after a load that succeeded. Missing: no file
// at the path. CannotOpen: the file is there but was refused (rights, sharing). CannotRead:
// reading it failed part way. Damaged: fewer than 105 lines, or bytes no save writes (an
// emptied, cut or foreign file); nothing saves over it unless told to by RewriteDataFile.
// Locked: a LockWait::TryOnce load found the lock taken by another process (nothing logged).
enum class LoadProblem { None, Missing, CannotOpen, CannotRead, Damaged, Locked };
LoadProblem lastLoadProblem();

// What LoadData would load, without touching the table: the 105 fields of a whole data file.
// The problem it found, None when the fields were read (and the file's lines counted).
LoadProblem readDataFile(std::vector<std::string>& fields, LockWait wait, int* lineCount = nullptr);

// For a supervisor's repair of a damaged file: loads whatever lines the file has over the
// first fields of the table and leaves the later fields as they were. Returns the number of
// fields it gave a line, or -1 when the file cannot be opened. Never used by the program.
int LoadDamagedData();

// Writes the whole table over the file, all or nothing. Failures are logged, never raised;
// false when the file was not written (missing, refused, damaged, disk full), and then it
// holds its previous bytes. A supervisor password stored as typed is first replaced by its
// hash, in the table too (see password_hash.h); when the platform cannot hash, it is written
// as it was and the save goes on. The lock is waited for as a load waits (the guard, which must
// never wait or end, tries once and comes back).
bool SaveData(LockWait wait = LockWait::RetryThenEnd);

// Writes the whole table over whatever the file holds, a damaged file included: for a
// supervisor's explicit repair and for making a new data file out of an empty one. The
// password is hashed as by SaveData.
bool RewriteDataFile(LockWait wait = LockWait::RetryThenEnd);

// Writes already built file text as the whole content of the existing data file; false
// when it could not be opened, is damaged, or the text could not be written.
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
