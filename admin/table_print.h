#pragma once
// The table as "show" prints it: aligned text for people, JSON for scripts. Numbers are given
// as the program reads them; the supervisor password is never printed, only whether it is set.
#include <iosfwd>
#include <string>

struct UsageTable;

void printTableText(std::ostream& out, const UsageTable& table, const std::string& path);
void printTableJson(std::ostream& out, const UsageTable& table, const std::string& path);

// The text as a JSON string with its quotes. Bytes above 127 are written as \u00XX, their
// Latin-1 reading, so that the output is plain ASCII whatever the code page.
std::string jsonString(const std::string& text);
