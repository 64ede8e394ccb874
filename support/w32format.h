#pragma once
// Fills printf-style directives in a framework text from a typed argument list: the
// report texts of the framework and the formatted texts its operations accept.
#include <string>
#include <variant>
#include <vector>

using W32FormatArg = std::variant<long long, double, std::string>;
using W32FormatArgs = std::vector<W32FormatArg>;

// Each directive (%d, %i, %u, %x, %X, %o, %c, %e, %E, %f, %g, %G, %s, with flags, width and
// precision) takes the next argument; "%%" is one percent sign. A number given to %s is
// written as by %g, a text given to a numeric directive as by %s. A directive left without
// an argument, or one not listed, stays in the result as written.
std::string w32Format(const std::string& format, const W32FormatArgs& args);
