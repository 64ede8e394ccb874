#pragma once
// Pieces of the line formats that the guard's messages and the stored hours and requests share:
// free text as lowercase hex, two digits a byte, so that nothing typed can break a line or a
// field, and a line split into its fields.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

std::string hexText(std::string_view bytes);
// False for anything but an even number of lowercase hex digits, or for more than `most` bytes.
bool unhexText(std::string_view text, std::size_t most, std::string& bytes);

// The pieces between the separators: "a,,b" gives "a", "" and "b"; "" gives one empty piece.
std::vector<std::string_view> splitText(std::string_view text, char separator);
