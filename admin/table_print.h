#pragma once
// The table as "show" prints it: aligned text for people, JSON for scripts. Numbers are given
// as the program reads them; the supervisor password is never printed, only whether it is set.
#include <iosfwd>
#include <string>

struct UsageTable;

void printTableText(std::ostream& out, const UsageTable& table, const std::string& path);
void printTableJson(std::ostream& out, const UsageTable& table, const std::string& path);

