// Writes a data file for trying the program out: the default table with the given account in
// slot 1, last counted today, allowed the default minutes on each weekday, with today's
// default minutes left or as many as given.
// Usage: make_data_file PATH ACCOUNT [MINUTES_LEFT]
#include <cstdio>

#include "accounting/log/activity_log.h"
#include "accounting/data_file/data_file.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make_data_file PATH ACCOUNT [MINUTES_LEFT]\n");
    return 2;
  }
  vSession.dataFilePath = argv[1];
  vSession.logPath = "/dev/null";
  if (std::FILE* file = std::fopen(argv[1], "w")) {
    std::fclose(file);
  } else {
    std::perror(argv[1]);
    return 1;
  }
  InstallDefaults();
  MakeTimeStamp();
  UserRecord& user = vTable.user(1);
  fillNewSlot(user, vTable, argv[2], vStamp);
  stampUser(user, vStamp, "");
  if (argc == 4)
    user.field(kMinutesLeft) = argv[3];
  return RewriteDataFile() ? 0 : 1;
}
