#pragma once
// The table in the data file, read and written with the program's own routines under its lock
// (data_file.h), and the log appended to by this process: where the table lives in every install
// that is not protected, for the tool given --file, and for the guard itself.
#include "accounting/table/table_home.h"

extern const TableHome kDataFileHome;
