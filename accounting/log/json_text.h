#pragma once
// Texts of the table and the log written as JSON strings, for the administration tool's
// output to scripts.
#include <string>
#include <string_view>

// The text as a JSON string with its quotes. Texts are in the system's ANSI code page: bytes
// above 127 are written as \u00XX, the characters of the same codes (their Latin-1 reading),
// so that the output is plain ASCII whatever the code page.
std::string jsonString(std::string_view text);
