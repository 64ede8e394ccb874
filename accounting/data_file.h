#pragma once
// The data file: the UsageTable as 105 scrambled text lines, one field per line, read
// and rewritten whole under an exclusive whole-file lock shared with the other copies
// of the program. A file that is not a whole data file is never loaded or written over.
#include <string>

namespace rt {
class TextFile;
}

// Loads the file over the table. -1 when the file cannot be read, which includes a file
// that is not a whole data file (the table is left as it was); otherwise the number of
// lines read.
int LoadData();

// Why the last LoadData returned -1; None after a load that succeeded. Missing: no file
// at the path. CannotOpen: the file is there but was refused (rights, sharing). CannotRead:
// reading it failed part way. Damaged: fewer than 105 lines, or bytes no save writes (an
// emptied, cut or foreign file); nothing saves over it unless told to by RewriteDataFile.
enum class LoadProblem { None, Missing, CannotOpen, CannotRead, Damaged };
LoadProblem lastLoadProblem();

// Writes the whole table over the file, all or nothing. Failures are logged, never raised;
// false when the file was not written (missing, refused, damaged, disk full), and then it
// holds its previous bytes.
bool SaveData();

// Writes the whole table over whatever the file holds, a damaged file included: for a
// supervisor's explicit repair and for making a new data file out of an empty one.
bool RewriteDataFile();

// Writes already built file text as the whole content of the existing data file; false
// when it could not be opened, is damaged, or the text could not be written.
bool WriteDataFile(const std::string& text);

// Takes the file's lock, retrying every 5 s; gives up after about a minute by logging
// and ending the process with status 1. Returns 1.
int LockDataFile(rt::TextFile& file);

// XORs each character with the scramble byte; scrambling twice gives the text back.
std::string ScrambleText(const std::string& text);

// The byte every character of the data file is XORed with.
unsigned char scrambleByte();
