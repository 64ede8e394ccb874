#pragma once
// The new supervisor password as the tool receives it: one line on standard input, or typed
// twice at the terminal without echo. Both return "" when they have a password that the
// rules of table_rules.h accept, or a sentence saying why there is none.
#include <string>

#include "admin/text_streams.h"

// The whole input is the password: one line, whose line end (LF or CR LF) is dropped.
std::string readPasswordLine(TextReader& in, std::string& password);
// Asks on the prompt stream, reading the terminal without echo, and compares the two entries.
std::string askPasswordTwice(TextWriter& prompts, std::string& password);
