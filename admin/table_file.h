#pragma once
// The data file as one command of the tool uses it: loaded through the core, with the
// outcomes the tool tells apart; changed in memory; saved through the core; each change
// logged and confirmed. Nothing is saved unless the load found a whole data file and the
// change was accepted, so a refused command leaves the file byte for byte.
#include <functional>
#include <string>
#include <vector>

struct Console;
class TextWriter;

// NoGuard: the install is protected and its guard service does not answer.
enum class LoadOutcome { Loaded, Missing, NotADataFile, NoGuard };

// Loads vTable from where the table lives (the data file, or in a protected install the guard)
// and says what the load found.
LoadOutcome loadTable();
// "set", "empty" or "default" for the loaded table's password, which the tool never prints.
std::string loadedPasswordState();

// Loads the table for a command that reads it; false after saying on the error stream why
// it could not.
bool loadForCommand(Console& console);
// True for a load that worked; otherwise says on the error stream why it did not, and false.
bool explainLoad(Console& console, LoadOutcome outcome);

// What a change did, one sentence per log line, or why it was refused.
struct Change {
  std::vector<std::string> done;
  std::string refusal;
};

// Loads the table, applies the change, saves, then logs and prints what was done. Returns the
// exit status: 1 for a refused change, 2 when the file could not be loaded or written.
int changeTable(Console& console, const std::function<Change()>& change);

// What a save may write over: the program's rule, a whole data file only; or, for a fresh
// file and a repair the supervisor asked for, whatever the file holds.
enum class SaveOver { WholeDataFileOnly, AnyContent };

// Saves what the command changed in vTable since the load (every field with AnyContent) where
// the table lives, which logs each sentence done as an "Admin tool" line (in a protected install
// under the account of the tool's token); false after saying on the error stream why not.
bool saveForCommand(Console& console, SaveOver over, const std::vector<std::string>& done);
// Prints every sentence done.
void confirm(Console& console, const std::vector<std::string>& done);

// Makes a lock that stays taken end the tool with status 2 and a sentence on the stream,
// instead of the program's silent status 1.
void reportLockTimeOutOn(TextWriter& err);
