#pragma once
// The tool's own lines in the activity log: "Admin tool - ..." under the account that ran the
// tool, in the log's usual format, and where the log is when only the data file is named.
#include <string>

// USERNAME as Windows sets it; on other systems USER or LOGNAME; the program's "Admin" when
// none is set.
std::string accountRunningTool();
// The program's log file name in the data file's folder.
std::string logBeside(const std::string& dataFile);
// Appends "Admin tool - " + what.
void logAdminChange(const std::string& what);
