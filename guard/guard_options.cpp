#include "guard/guard_options.h"

#include <charconv>

namespace {

// A whole number of seconds from 1 to a day; anything else is refused.
bool readSeconds(const std::string& text, long long& seconds) {
  long long value = 0;
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (problem != std::errc() || end != text.data() + text.size() || value < 1 || value > 86400)
    return false;
  seconds = value;
  return true;
}

}  // namespace

void readGuardOptions(GuardOptions& options, const std::vector<std::string>& arguments) {
  GuardOptions read = options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help" || name == "--believe-named-accounts") {
      (name == "--help" ? read.help : read.requests.believeNamedAccounts) = true;
      continue;
    }
    if (name != "--file" && name != "--log" && name != "--grace" && name != "--interval" &&
        name != "--no-minutes-wait" && name != "--minute-length") {
      options.error = "unknown option " + name;
      return;
    }
    if (i + 1 == arguments.size()) {
      options.error = name + " needs a value";
      return;
    }
    const std::string& value = arguments[++i];
    long long seconds = 0;
    if (name == "--file") {
      read.dataFile = value;
    } else if (name == "--log") {
      read.log = value;
    } else if (!readSeconds(value, seconds)) {
      options.error = name + " needs a whole number of seconds from 1 to 86400, not " + value;
      return;
    } else if (name == "--grace") {
      read.settings.graceSeconds = seconds;
    } else if (name == "--no-minutes-wait") {
      read.settings.noMinutesSeconds = seconds;
    } else if (name == "--minute-length") {
      read.settings.minuteSeconds = seconds;
    } else {
      read.intervalSeconds = static_cast<int>(seconds);
    }
  }
  options = read;
}
