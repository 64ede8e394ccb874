#include "accounting/log/json_text.h"

#include <cstdio>

std::string jsonString(std::string_view text) {
  std::string result = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      result += '\\';
      result += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      result += escaped;
    } else {
      result += c;
    }
  }
  return result + "\"";
}
