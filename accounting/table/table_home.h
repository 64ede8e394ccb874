#pragma once
// Where the table lives, chosen once when a program starts: the data file, read and written with
// the program's own routines under its lock, or in a protected install the guard service, asked
// through its pipe. Start-up, the minute tick, the log, the windows and the tool go through vHome
// and never ask which it is.
#include <optional>
#include <string>
#include <vector>

#include "accounting/table/table_cells.h"

struct AllowedHours;
struct HoursBook;

// How a load went: the table is in vTable; the data file is missing or refused; it is not a whole
// data file (or the guard holds no table); the guard did not answer.
enum class TableLoad { Loaded, Missing, Damaged, Silent };

// The current user's minute. Where the table is the data file, it was counted here: one minute
// off, a new day's allowance, or a minute on a clock moved back. Where it is the guard's, the guard
// counts, and Read gives the minutes it says are left. NotInTable: the account has no slot.
// NotKept: the table could not be read or the minute not saved. Silent: the guard did not answer.
struct MinuteOutcome {
  enum Kind { Counted, NewDay, ClockMovedBack, Read, NotInTable, NotKept, Silent };
  Kind kind = NotKept;
  int left = 0;
};

// A slot for the account that runs the program, when new users are allowed and one is free.
enum class Admission { Admitted, NewUsersRefused, NoFreeSlot, NotKept };

enum class GateAnswer { Opens, Wrong, Silent };

// How a save went; why, in a sentence, when it was not kept for another reason.
struct SaveOutcome {
  enum Kind { Saved, WrongPassword, NotAdministrator, NotKept, Silent };
  Kind kind = Saved;
  std::string why;
};

// How a read of the allowed hours and the requests went: read (no hours kept yet is an empty book);
// read in part from damaged storage, every account outside its hours; not kept where the table
// lives (why in a sentence); the guard did not answer.
struct HoursLoad {
  enum Kind { Loaded, Damaged, NotKept, Silent };
  Kind kind = Loaded;
  std::string why;
};

struct TableHome {
  // Reads the table into vTable.
  TableLoad (*load)();
  // The current user's minute, as above.
  MinuteOutcome (*minute)();
  // Admits vSession.userName into a slot of vTable, which it returns in slot.
  Admission (*admit)(int& slot);
  // One line of the activity log: as the log keeps it, and its message alone.
  void (*writeLine)(const std::string& line, const std::string& message);
  // Whether the typed password opens the administration window.
  GateAnswer (*checkPassword)(const std::string& typed);
  // The supervisor's changed cells, with the password typed at the gate, applied to the table as
  // it is now (so that minutes counted meanwhile stay counted) and saved. A new password is kept
  // as its hash.
  SaveOutcome (*saveCells)(const std::vector<Cell>& cells, const std::string& password);
  // The administration tool's change: the changed cells over the table as it is now, or, for a
  // fresh or repaired file, every field over whatever the file holds; each sentence done is
  // logged as an "Admin tool - ..." line.
  SaveOutcome (*saveForTool)(const std::vector<Cell>& cells, bool wholeTable, const std::vector<std::string>& done);
  // "set", "empty" or "default" for the loaded table's password.
  std::string (*passwordState)();
  // The allowed hours of every account, the default, the extensions and the requests (hours_book.h).
  HoursLoad (*loadHours)(HoursBook& book);
  // The tool's change of one account's hours, or of the default for an empty account name, over
  // the hours as they are now (a damaged store is written sound with what could be read of it);
  // the sentence done is logged as an "Admin tool - ..." line.
  SaveOutcome (*saveHours)(const std::string& account, const AllowedHours& hours, const std::string& done);
  // The same change from the administration window, with the password typed at the gate; the
  // sentence done is logged as an "Administration window - ..." line.
  SaveOutcome (*saveSupervisorHours)(const std::string& account,
                                     const AllowedHours& hours,
                                     const std::string& done,
                                     const std::string& password);
  // vSession.userName asks for 15, 30 or 60 more minutes today, with a note: "" and the request's
  // number, or why not in a sentence (time_requests.h has the rules). The request is logged.
  std::string (*askForTime)(int minutes, const std::string& note, int& number);
  // The answer to an open request: approved with 1 to 1440 minutes, or refused with 0. An
  // approval adds the minutes to the account's day and, when it is outside its hours, extends
  // them today. The lines logged come back in done. The tool gives no password (and in a
  // protected install answers only for an administrator); the answer window gives the password
  // typed there, which must open the gate as at the password window, or nothing changes. An
  // empty typed password is a password like any other.
  SaveOutcome (*answerRequest)(int number,
                               int minutes,
                               const std::optional<std::string>& password,
                               std::vector<std::string>& done);
};

// Where this program's table lives, chosen when it starts; until then only its log lines work,
// appended to the log file (activity_log.h).
extern TableHome vHome;
