#pragma once
// The hours file, HalvardHours.dat beside the data file: the HoursBook (hours_book.h) read and
// written whole under the file's own lock, all or nothing, as the data file is, and the data
// file's home routines over it. A program that predates it never opens it; no file is an empty
// book, every account the whole day.
#include <string>
#include <vector>

#include "accounting/data_file/data_file.h"
#include "accounting/table/table_home.h"

struct HoursBook;

// The hours file in the folder of the data file at that path.
std::string hoursFileBeside(const std::string& dataFile);

// Reads the hours file beside vSession.dataFilePath into the book. Damaged: the book holds what
// could be read and is marked damaged, and the damage is logged, once until a sound read. The
// lock is waited for as the data file's is (the guard tries once: NotKept when it is taken).
// The file's text as read comes back in rawText when asked for.
HoursLoad loadHoursFile(HoursBook& book, LockWait wait = LockWait::RetryThenEnd, std::string* rawText = nullptr);
// Writes the book as the whole hours file, making the file when there is none; false (the file
// as it was) when it could not be written, which is logged.
bool saveHoursFile(const HoursBook& book, LockWait wait = LockWait::RetryThenEnd);
// The same for a text already made: a damaged file's own bytes, put back by the guard.
bool writeHoursText(const std::string& text, LockWait wait);
// False when the hours file beside the data file was read (a lock tried once) and does not hold
// exactly the text, or is missing while it should hold one ("" is no file); true also when it
// could not be looked at now.
bool hoursFileHolds(const std::string& text);

// TableHome's hours routines where the table is the data file.
SaveOutcome saveHoursInFile(const std::string& account, const AllowedHours& hours, const std::string& done);
SaveOutcome saveSupervisorHoursInFile(const std::string& account,
                                      const AllowedHours& hours,
                                      const std::string& done,
                                      const std::string& password);
std::string askForTimeInFile(int minutes, const std::string& note, int& number);
SaveOutcome answerRequestInFile(int number, int minutes, std::vector<std::string>& done);
