#pragma once
// The table as "show" prints it: aligned text for people, JSON for scripts. Numbers are given
// as the program reads them; the supervisor password is never printed, only whether it is set.
#include <string>

#include "admin/text_streams.h"

struct UsageTable;

// The text with every control byte shown as "?".
std::string printable(const std::string& text);

// password is what passwordState (table_rules.h) says of line 1: "set", "empty" or "default".
void printTableText(TextWriter& out, const UsageTable& table, const std::string& path, const std::string& password);
// hoursMembers: more members of the object, each line "  \"name\": value" ending in ",\n".
void printTableJson(TextWriter& out,
                    const UsageTable& table,
                    const std::string& path,
                    const std::string& password,
                    const std::string& hoursMembers = "");
