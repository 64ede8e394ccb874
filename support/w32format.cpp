#include "support/w32format.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

bool oneOf(char c, const char* set) {
  return c != '\0' && std::strchr(set, c) != nullptr;
}

template <typename T>
std::string printed(const std::string& form, T value) {
  const int length = std::snprintf(nullptr, 0, form.c_str(), value);
  if (length <= 0)
    return "";
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), form.c_str(), value);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// One directive: form is everything from '%' up to and without the conversion letter.
std::string directive(std::string form, char conversion, const W32FormatArg& arg) {
  if (const auto* text = std::get_if<std::string>(&arg))
    return printed(form + 's', text->c_str());
  const double* real = std::get_if<double>(&arg);
  const long long integer = real ? static_cast<long long>(*real) : std::get<long long>(arg);
  if (conversion == 's')
    return real ? printed(form + 'g', *real) : printed(form + "lld", integer);
  if (oneOf(conversion, "eEfgG"))
    return printed(form + conversion, real ? *real : static_cast<double>(integer));
  if (conversion == 'c')
    return printed(form + 'c', static_cast<int>(integer));
  return printed(form + "ll" + conversion, integer);
}

}  // namespace

std::string w32Format(const std::string& format, const W32FormatArgs& args) {
  std::string result;
  std::size_t next = 0;
  std::size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      result += format[i++];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      result += '%';
      i += 2;
      continue;
    }
    std::size_t end = i + 1;
    while (end < format.size() && oneOf(format[end], "-+ #0"))
      ++end;
    while (end < format.size() && (std::isdigit(static_cast<unsigned char>(format[end])) || format[end] == '.'))
      ++end;
    const bool known = end < format.size() && oneOf(format[end], "diuxXoceEfgGs");
    if (!known || next >= args.size()) {
      const std::size_t stop = end < format.size() ? end + 1 : end;
      result += format.substr(i, stop - i);
      i = stop;
      continue;
    }
    result += directive(format.substr(i, end - i), format[end], args[next++]);
    i = end + 1;
  }
  return result;
}
