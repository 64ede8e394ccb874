#include "accounting/guard_link/guard_protocol.h"

#include <array>
#include <charconv>
#include <climits>

#include "accounting/table/stored_text.h"

namespace {
constexpr std::string_view kHeader = "orrindale-guard 1";

struct Named {
  Refusal refusal;
  const char* word;
};
constexpr std::array<Named, 10> kRefusalWords{{{Refusal::None, "none"},
                                               {Refusal::Malformed, "malformed"},
                                               {Refusal::NoTable, "no-table"},
                                               {Refusal::NotInTable, "not-in-table"},
                                               {Refusal::NewUsersRefused, "new-users-refused"},
                                               {Refusal::NoFreeSlot, "no-free-slot"},
                                               {Refusal::WrongPassword, "wrong-password"},
                                               {Refusal::NotAdministrator, "not-administrator"},
                                               {Refusal::NotSaved, "not-saved"},
                                               {Refusal::RequestRefused, "request-refused"}}};
constexpr std::array<const char*, 12> kVerbWords{"read", "admit", "minute",   "check", "save",   "tool",
                                                 "log",  "hours", "sethours", "ask",   "answer", "savehours"};
constexpr std::array<const char*, 3> kMinuteWords{"counted", "newday", "clockback"};

// Every value of a message is bounded, whatever it holds.
bool unhex(std::string_view text, std::string& bytes) {
  return unhexText(text, kMostValueBytes, bytes);
}

bool readInt(std::string_view text, int lowest, int highest, int& value) {
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  return problem == std::errc() && end == text.data() + text.size() && value >= lowest && value <= highest;
}

template <std::size_t N>
int wordIndex(const std::array<const char*, N>& words, std::string_view word) {
  for (std::size_t i = 0; i < N; ++i)
    if (word == words[i])
      return static_cast<int>(i);
  return -1;
}

// A message as its lines, each split at its first blank into a key and a value. False for a
// message that is too long, has no header or ends without a line end (cut short).
struct Entry {
  std::string_view key;
  std::string_view value;
};
bool entriesOf(std::string_view text, std::vector<Entry>& entries) {
  if (text.size() > kMostMessageBytes || text.empty() || text.back() != '\n')
    return false;
  std::size_t at = 0;
  bool header = true;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (header) {
      if (line != kHeader)
        return false;
      header = false;
      continue;
    }
    const std::size_t blank = line.find(' ');
    entries.push_back({line.substr(0, blank), blank == line.npos ? std::string_view() : line.substr(blank + 1)});
  }
  return !header;
}

std::string cellLine(const Cell& cell) {
  return "cell " + std::to_string(cell.field) + " " + hexText(cell.text) + "\n";
}

std::string cutCellLine(const Cell& cell) {
  return cellLine({cell.field, cell.text.substr(0, kMostValueBytes)});
}

bool readCell(std::string_view value, std::vector<Cell>& cells) {
  const std::size_t blank = value.find(' ');
  Cell cell;
  if (blank == value.npos || !readInt(value.substr(0, blank), 1, kTableFields, cell.field) ||
      !unhex(value.substr(blank + 1), cell.text) || cells.size() >= static_cast<std::size_t>(kTableFields))
    return false;
  cells.push_back(cell);
  return true;
}
}  // namespace

const char* refusalWord(Refusal refusal) {
  for (const Named& named : kRefusalWords)
    if (named.refusal == refusal)
      return named.word;
  return "malformed";
}

GuardRequest guardRequest(GuardVerb verb) {
  GuardRequest request;
  request.verb = verb;
  return request;
}

std::string encodeRequest(const GuardRequest& request) {
  std::string text = std::string(kHeader) + "\n";
  text += std::string("verb ") + kVerbWords[static_cast<int>(request.verb)] + "\n";
  text += "account " + hexText(request.namedAccount) + "\n";
  text += "machine " + hexText(request.machine) + "\n";
  if (request.verb == GuardVerb::Check || request.verb == GuardVerb::Save || request.verb == GuardVerb::SaveHours ||
      request.passwordGiven)
    text += "password " + hexText(request.password) + "\n";
  for (const Cell& cell : request.cells)
    text += cellLine(cell);
  if (request.wholeTable)
    text += "whole\n";
  for (const std::string& line : request.lines)
    text += "line " + hexText(line) + "\n";
  if (request.verb == GuardVerb::SetHours || request.verb == GuardVerb::SaveHours)
    text += "target " + hexText(request.target) + "\nhours " + hexText(request.hours) + "\n";
  if (request.verb == GuardVerb::Ask)
    text += "minutes " + std::to_string(request.minutes) + "\nnote " + hexText(request.note) + "\n";
  if (request.verb == GuardVerb::Answer)
    text += "number " + std::to_string(request.number) + "\nminutes " + std::to_string(request.minutes) + "\n";
  return text;
}

bool decodeRequest(std::string_view text, GuardRequest& request) {
  request = GuardRequest{};
  std::vector<Entry> entries;
  if (!entriesOf(text, entries))
    return false;
  bool verbGiven = false;
  for (const Entry& entry : entries) {
    std::string line;
    bool read = true;
    if (entry.key == "verb") {
      const int verb = wordIndex(kVerbWords, entry.value);
      read = verb >= 0 && !verbGiven;
      request.verb = static_cast<GuardVerb>(verb);
      verbGiven = true;
    } else if (entry.key == "account") {
      read = unhex(entry.value, request.namedAccount);
    } else if (entry.key == "machine") {
      read = unhex(entry.value, request.machine);
    } else if (entry.key == "password") {
      read = unhex(entry.value, request.password);
      request.passwordGiven = true;
    } else if (entry.key == "cell") {
      read = readCell(entry.value, request.cells);
    } else if (entry.key == "whole" && entry.value.empty()) {
      request.wholeTable = true;
    } else if (entry.key == "line") {
      // A change of hours is logged with a sentence as long as the week it sets.
      const bool hours = request.verb == GuardVerb::SetHours || request.verb == GuardVerb::SaveHours;
      read = unhexText(entry.value, hours ? kMostHoursLineBytes : kMostValueBytes, line) &&
             request.lines.size() < kMostLogLines;
      request.lines.push_back(line);
    } else if (entry.key == "target") {
      read = unhex(entry.value, request.target);
    } else if (entry.key == "hours") {
      read = unhexText(entry.value, kMostHoursLineBytes, request.hours);
    } else if (entry.key == "note") {
      read = unhex(entry.value, request.note);
    } else if (entry.key == "number") {
      read = readInt(entry.value, 1, INT_MAX, request.number);
    } else if (entry.key == "minutes") {
      read = readInt(entry.value, 0, kMostMinutes, request.minutes);
    } else {
      read = false;
    }
    if (!read)
      return false;
  }
  return verbGiven;
}

std::string encodeAnswer(const GuardAnswer& answer) {
  std::string text = std::string(kHeader) + "\n";
  if (!answer.ok())
    return text + "refused " + refusalWord(answer.refusal) + "\n" +
           (answer.why.empty() ? "" : "why " + hexText(answer.why.substr(0, kMostValueBytes)) + "\n");
  text += "ok\n";
  text += "account " + hexText(answer.account) + "\n";
  text += "slot " + std::to_string(answer.slot) + "\n";
  if (!answer.passwordState.empty())
    text += "password " + answer.passwordState + "\n";
  text +=
      std::string("minute ") + kMinuteWords[static_cast<int>(answer.minute)] + " " + std::to_string(answer.left) + "\n";
  for (const Cell& cell : answer.cells)
    text += cutCellLine(cell);
  for (const std::string& line : answer.lines)
    text += "line " + hexText(line.substr(0, kMostHoursLineBytes)) + "\n";
  if (answer.hoursDamaged)
    text += "damaged\n";
  if (answer.number != 0)
    text += "number " + std::to_string(answer.number) + "\n";
  return text;
}

bool decodeAnswer(std::string_view text, GuardAnswer& answer) {
  answer = GuardAnswer{};
  std::vector<Entry> entries;
  if (!entriesOf(text, entries) || entries.empty())
    return false;
  for (const Entry& entry : entries) {
    bool read = true;
    if (entry.key == "refused") {
      read = false;
      for (const Named& named : kRefusalWords)
        if (entry.value == named.word && named.refusal != Refusal::None) {
          answer.refusal = named.refusal;
          read = true;
        }
    } else if (entry.key == "ok") {
      read = entry.value.empty();
    } else if (entry.key == "account") {
      read = unhex(entry.value, answer.account);
    } else if (entry.key == "slot") {
      read = readInt(entry.value, 0, kUserSlots, answer.slot);
    } else if (entry.key == "password") {
      answer.passwordState = entry.value;
    } else if (entry.key == "minute") {
      const std::size_t blank = entry.value.find(' ');
      const int kind = wordIndex(kMinuteWords, entry.value.substr(0, blank));
      read = kind >= 0 && blank != entry.value.npos &&
             readInt(entry.value.substr(blank + 1), INT_MIN, INT_MAX, answer.left);
      answer.minute = static_cast<MinuteKind>(kind);
    } else if (entry.key == "cell") {
      read = readCell(entry.value, answer.cells);
    } else if (entry.key == "line") {
      std::string line;
      read = unhexText(entry.value, kMostHoursLineBytes, line);
      answer.lines.push_back(line);
    } else if (entry.key == "damaged") {
      answer.hoursDamaged = entry.value.empty();
      read = answer.hoursDamaged;
    } else if (entry.key == "number") {
      read = readInt(entry.value, 1, INT_MAX, answer.number);
    } else if (entry.key == "why") {
      read = unhex(entry.value, answer.why);
    } else {
      read = false;
    }
    if (!read)
      return false;
  }
  return entries.front().key == "ok" || entries.front().key == "refused";
}
