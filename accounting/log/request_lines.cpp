#include "accounting/log/request_lines.h"

#include <array>
#include <charconv>

#include "accounting/log/log_texts.h"
#include "accounting/table/table_rules.h"

namespace {
// How the log names each answer, by state.
constexpr std::array<const char*, 4> kAnswerWords{"", "approved", "refused", "expired unanswered"};

bool readCount(std::string_view text, int most, int& value) {
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && problem == std::errc() && end == text.data() + text.size() && value >= 1 && value <= most;
}

// "M minutes" at the start of the text; the rest after it.
bool readMinutes(std::string_view text, int& minutes, std::string_view& rest) {
  const std::size_t blank = text.find(' ');
  if (blank == text.npos || !readCount(text.substr(0, blank), kMostMinutes, minutes) ||
      !text.substr(blank).starts_with(" minutes"))
    return false;
  rest = text.substr(blank + 8);
  return true;
}
}  // namespace

std::string askedLineText(int number, const std::string& account, int minutes, const std::string& note) {
  return kRequestLine + std::to_string(number) + " - " + account + " asks " + std::to_string(minutes) + " minutes" +
         (note.empty() ? "" : ": " + note);
}

std::string answerLineText(int number, RequestState state, const std::string& account, int minutes) {
  return kRequestLine + std::to_string(number) + " - " + kAnswerWords[static_cast<std::size_t>(state)] + ", " +
         std::to_string(minutes) + " minutes for " + account;
}

// Account names hold no comma, so an answer's word is never part of a name; the first " asks "
// followed by a count of minutes ends the account, since the note comes after it.
bool readRequestLine(std::string_view message, RequestEvent& event) {
  if (!message.starts_with(kRequestLine))
    return false;
  message.remove_prefix(std::string_view(kRequestLine).size());
  const std::size_t dash = message.find(" - ");
  RequestEvent read;
  if (dash == message.npos || !readCount(message.substr(0, dash), kMostRequestNumber, read.number))
    return false;
  message.remove_prefix(dash + 3);
  for (std::size_t i = 1; i < kAnswerWords.size(); ++i) {
    const std::string opening = std::string(kAnswerWords[i]) + ", ";
    std::string_view rest;
    if (!message.starts_with(opening) || !readMinutes(message.substr(opening.size()), read.minutes, rest) ||
        !rest.starts_with(" for ") || rest.size() == 5)
      continue;
    read.state = static_cast<RequestState>(i);
    read.account = rest.substr(5);
    event = read;
    return true;
  }
  for (std::size_t asks = message.find(" asks "); asks != message.npos; asks = message.find(" asks ", asks + 1)) {
    std::string_view rest;
    if (asks > 0 && readMinutes(message.substr(asks + 6), read.minutes, rest) &&
        (rest.empty() || rest.starts_with(": "))) {
      read.account = message.substr(0, asks);
      event = read;
      return true;
    }
  }
  return false;
}
