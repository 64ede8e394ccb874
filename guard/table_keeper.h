#pragma once
// The table of a protected install, kept by the guard: loaded from the data file when the guard
// starts, changed only by the requests it accepts, saved at once, and written back over a data
// file that anyone else changed, renamed or deleted. Copies never open the file.
#include <map>
#include <string>
#include <vector>

#include "accounting/hours/hours_book.h"
#include "runtime/file_stamp.h"

struct TableKeeper {
  bool holdsTable = false;
  // The fields as the guard last wrote or read them: what the file must hold.
  std::vector<std::string> kept;
  // Per account, the wrong passwords typed at the gate since the last right one (or the day's
  // start), and the lock they earned: while it lasts every password is refused without a hash.
  struct PasswordLock {
    std::string day;                 // the date the count belongs to
    std::vector<long long> recent;   // times of the wrong ones within the last minute, before a first lock
    int wrong = 0;                   // wrong ones in all
    int sinceLock = 0;               // wrong ones since the last lock
    int locks = 0;
    long long lockedUntil = 0;
  };
  std::map<std::string, PasswordLock> passwordLocks;
  // Per logon session, what it made the guard write in the current minute: its log lines (the
  // ones over the limit dropped) and its refused requests (the first logged, the rest counted).
  struct SessionWrites {
    std::string account;
    long long since = 0;
    int lines = 0;
    int dropped = 0;
    int refusals = 0;
  };
  std::map<unsigned, SessionWrites> writesFrom;
  // Per account, the "CLOCK MOVED BACK" line last logged for it: a move is logged once.
  std::map<std::string, std::string> clockMovesLogged;
  // Line 1 and whether it is still the installation default, worked out once per line.
  std::string passwordLine;
  std::string passwordState;
  // Whether the data file could not be read at the last try, and the file as it was then: it
  // is tried again when it changes.
  bool unreadable = false;
  rt::FileStamp unreadableStamp;
  // The hours file's book, and the text the file must hold: what the guard last wrote, or the
  // bytes of a damaged file as read (kept, so that it stays damaged until the tool sets hours).
  bool holdsHours = false;
  HoursBook hours;
  std::string keptHoursText;
};

// Takes the data file as the table (vTable), when the keeper holds none yet. A password stored
// as typed is hashed and saved at once. False while the file cannot be read; the guard's round
// says so in the log.
bool loadKeptTable(TableKeeper& keeper);
// Saves vTable, over a whole data file only unless told otherwise; false when it was not written,
// and then vTable is the kept table again.
bool saveKeptTable(TableKeeper& keeper, bool overAnyContent = false);
// Puts back the kept table into vTable after a change that is not to be kept.
void restoreKeptTable(const TableKeeper& keeper);
// One look at the data file: when it no longer holds the kept fields (changed by another
// program, copied back, renamed away or deleted) the table is written again and the log says
// "**** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****". A file another program holds
// locked is looked at again next time.
void lookAtDataFile(TableKeeper& keeper);
// "set", "empty" or "default" for the table's line 1.
const std::string& passwordStateOf(TableKeeper& keeper);

// Takes the hours file as the keeper's book, when it holds none yet; a damaged one is kept as it
// is. False while the file cannot be read.
bool loadKeptHours(TableKeeper& keeper);
// Saves the book as the hours file and keeps it; false when it was not written (the keeper's
// book is then as it was).
bool saveKeptHours(TableKeeper& keeper, const HoursBook& book);
// Writes back the book and text the keeper held before a change that is not to be kept, and keeps
// them again; false when the file was not written (the keeper then holds the change).
bool putBackKeptHours(TableKeeper& keeper, const HoursBook& book, const std::string& text);
// One look at the hours file, as lookAtDataFile: what another program changed is written back
// and the log says "**** HOURS FILE CHANGED OUTSIDE ORRINDALE - restored ****".
void lookAtHoursFile(TableKeeper& keeper);
