#pragma once
// The activity log: one time-stamped line per event, appended to the log where the table lives
// (or written to the console at debug level 1), and the texts of its lines that need a record.
#include <string>

#include "accounting/table/time_stamp.h"
#include "accounting/table/usage_table.h"

// Appends "dd/mm/yyyy hh:mm - user - message" where the table lives (table_home.h). A line
// that cannot be written is dropped: the log never stops the program. In a protected install the
// guard writes the line, with the account of this process's token in the user column.
void WriteLog(const std::string& message);
// The same with another user column, for the guard's lines about an account.
void WriteLogAs(const std::string& user, const std::string& message);

// Until a program chooses where its table lives, its lines are appended to the log file: the log
// of every install that is not protected, and the guard's own.
void appendToLogFile(const std::string& line, const std::string& message);

// "**** CLOCK MOVED BACK from dd/mm/yyyy hh:mm ****" with the record's stored (later) stamp.
std::string clockMovedBackText(const UserRecord& user);
