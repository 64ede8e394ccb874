#include "admin/admin_log.h"

#include "accounting/log/activity_log.h"
#include "accounting/program/startup.h"
#include "accounting/table/usage_table.h"
#include "runtime/processes.h"

std::string accountRunningTool() {
  for (const char* variable : {"USERNAME", "USER", "LOGNAME"})
    if (std::string name = rt::getEnv(variable); !name.empty())
      return name;
  return Session{}.userName;  // what the program logs before it knows the account
}

std::string logBeside(const std::string& dataFile) {
  const std::string& fixedLog = vFixedPaths.log;
  const std::string logName = fixedLog.substr(fixedLog.find_last_of('\\') + 1);
  const std::size_t folderEnd = dataFile.find_last_of("\\/");
  return folderEnd == std::string::npos ? logName : dataFile.substr(0, folderEnd + 1) + logName;
}

void logAdminChange(const std::string& what) {
  WriteLog("Admin tool - " + what);
}
