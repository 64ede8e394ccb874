#include "accounting/hours/time_requests.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "accounting/hours/allowed_hours.h"
#include "accounting/table/stored_text.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"

namespace {
constexpr std::string_view kStorageMarker = "requests1 ";
constexpr std::array<const char*, 4> kStateWords{"open", "approved", "refused", "expired"};
constexpr int kFieldsPerLine = 9;
constexpr int kMostNumber = kMostRequestNumber;

bool askableMinutes(int minutes) {
  return minutes == 15 || minutes == 30 || minutes == 60;
}

template <typename Number>
bool readWhole(std::string_view text, Number lowest, Number highest, Number& value) {
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && problem == std::errc() && end == text.data() + text.size() && value >= lowest &&
         value <= highest;
}

template <typename List>
auto requestNumbered(List& list, int number) -> decltype(&list.requests.front()) {
  for (auto& request : list.requests)
    if (request.number == number)
      return &request;
  return nullptr;
}

// When the account was last answered; -1 for never. An expiry is no answer: the pause is for
// a supervisor who has just said yes or no.
long long lastAnswer(const TimeRequests& list, const std::string& account) {
  long long last = -1;
  for (const TimeRequest& request : list.requests)
    if (request.account == account &&
        (request.state == RequestState::Approved || request.state == RequestState::Refused))
      last = std::max(last, request.answeredAt);
  return last;
}

std::string answerProblem(TimeRequest* request, int number) {
  const std::string named = "request " + std::to_string(number);
  if (request == nullptr)
    return "there is no " + named;
  switch (request->state) {
    case RequestState::Open:
      return "";
    case RequestState::Approved:
      return named + " was already approved";
    case RequestState::Refused:
      return named + " was already refused";
    case RequestState::Expired:
      break;
  }
  return named + " expired unanswered at the end of its day";
}

std::string requestLine(const TimeRequest& request) {
  return std::to_string(request.number) + " " + hexText(request.account) + " " + std::to_string(request.minutesAsked) +
         " " + hexText(request.note) + " " + std::to_string(request.day) + " " + std::to_string(request.askedAt) + " " +
         kStateWords[static_cast<std::size_t>(request.state)] + " " + std::to_string(request.minutesGranted) + " " +
         std::to_string(request.answeredAt) + "\n";
}

bool readRequest(std::string_view line, TimeRequest& request) {
  const std::vector<std::string_view> fields = splitText(line, ' ');
  if (fields.size() != kFieldsPerLine)
    return false;
  const auto state = std::find(kStateWords.begin(), kStateWords.end(), fields[6]);
  constexpr long long kLatest = 1LL << 62;
  if (state == kStateWords.end() || !readWhole(fields[0], 1, kMostNumber, request.number) ||
      !unhexText(fields[1], kLongestAccount, request.account) || !readWhole(fields[2], 0, 60, request.minutesAsked) ||
      !unhexText(fields[3], kLongestNote, request.note) || !readWhole(fields[4], 0, kMostNumber, request.day) ||
      !readWhole(fields[5], 0LL, kLatest, request.askedAt) ||
      !readWhole(fields[7], 0, kMostMinutes, request.minutesGranted) ||
      !readWhole(fields[8], 0LL, kLatest, request.answeredAt))
    return false;
  request.state = static_cast<RequestState>(state - kStateWords.begin());
  const bool open = request.state == RequestState::Open;
  const bool approved = request.state == RequestState::Approved;
  return accountProblem(request.account).empty() && askableMinutes(request.minutesAsked) &&
         storableText(request.note) == request.note && validDate(request.day) &&
         (approved ? request.minutesGranted > 0 : request.minutesGranted == 0) && (!open || request.answeredAt == 0);
}

}  // namespace

const TimeRequest* openRequest(const TimeRequests& list, const std::string& account) {
  for (const TimeRequest& request : list.requests)
    if (request.account == account && request.state == RequestState::Open)
      return &request;
  return nullptr;
}

const TimeRequest* findRequest(const TimeRequests& list, int number) {
  return requestNumbered(list, number);
}

std::string askForTime(TimeRequests& list,
                       const std::string& account,
                       int minutes,
                       const std::string& note,
                       int day,
                       long long now,
                       int& number) {
  std::string problem = accountProblem(account);
  if (!problem.empty())
    return problem;
  if (!askableMinutes(minutes))
    return "a request asks for 15, 30 or 60 minutes";
  if (note.size() > kLongestNote)
    return "the note is longer than " + std::to_string(kLongestNote) + " characters";
  if (!validDate(day))
    return std::to_string(day) + " is not a date";
  if (const TimeRequest* open = openRequest(list, account))
    return "request " + std::to_string(open->number) + " of " + account + " is still waiting for an answer";
  const long long last = lastAnswer(list, account);
  if (last >= 0 && now - last < kRequestPauseSeconds) {
    const long long wait = (kRequestPauseSeconds - (now - last) + 59) / 60;
    return account + " can ask again in " + std::to_string(wait) + " minute" + (wait == 1 ? "" : "s") +
           ": a new request waits " + std::to_string(kRequestPauseSeconds / 60) + " minutes after the last answer";
  }
  // Open requests are never dropped, so a list full of them takes no more.
  const auto isOpen = [](const TimeRequest& request) { return request.state == RequestState::Open; };
  if (std::count_if(list.requests.begin(), list.requests.end(), isOpen) >= static_cast<std::ptrdiff_t>(kKeptRequests))
    return "too many requests are waiting for an answer";
  if (list.lastNumber >= kMostNumber)
    return "the request numbers have run out";
  number = ++list.lastNumber;
  list.requests.push_back({number, account, minutes, storableText(note), day, now, RequestState::Open, 0, 0});
  while (list.requests.size() > kKeptRequests)
    list.requests.erase(std::find_if_not(list.requests.begin(), list.requests.end(), isOpen));
  return "";
}

std::string approveRequest(TimeRequests& list, int number, int minutes, long long now) {
  TimeRequest* request = requestNumbered(list, number);
  const std::string problem = answerProblem(request, number);
  if (!problem.empty())
    return problem;
  if (minutes < 1 || minutes > kMostMinutes)
    return "an approval gives 1 to " + std::to_string(kMostMinutes) + " minutes";
  request->state = RequestState::Approved;
  request->minutesGranted = minutes;
  request->answeredAt = now;
  return "";
}

std::string refuseRequest(TimeRequests& list, int number, long long now) {
  TimeRequest* request = requestNumbered(list, number);
  const std::string problem = answerProblem(request, number);
  if (!problem.empty())
    return problem;
  request->state = RequestState::Refused;
  request->answeredAt = now;
  return "";
}

std::vector<TimeRequest> expireRequests(TimeRequests& list, int today, long long now) {
  std::vector<TimeRequest> expired;
  for (TimeRequest& request : list.requests)
    if (request.state == RequestState::Open && request.day < today) {
      request.state = RequestState::Expired;
      request.answeredAt = now;
      expired.push_back(request);
    }
  return expired;
}

std::string requestsStorageText(const TimeRequests& list) {
  std::string text = std::string(kStorageMarker) + std::to_string(list.lastNumber) + "\n";
  for (const TimeRequest& request : list.requests)
    text += requestLine(request);
  return text;
}

// Every rule of the list holds in what is read, and it writes back to exactly the same text.
bool readRequestsText(std::string_view text, TimeRequests& list) {
  TimeRequests read;
  if (text.empty()) {
    list = read;
    return true;
  }
  if (!text.starts_with(kStorageMarker) || text.back() != '\n')
    return false;
  std::size_t at = text.find('\n');
  if (!readWhole(text.substr(kStorageMarker.size(), at - kStorageMarker.size()), 0, kMostNumber, read.lastNumber))
    return false;
  for (++at; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    TimeRequest request;
    if (read.requests.size() == kKeptRequests || !readRequest(text.substr(at, end - at), request) ||
        request.number > read.lastNumber || (!read.requests.empty() && request.number <= read.requests.back().number) ||
        (request.state == RequestState::Open && openRequest(read, request.account) != nullptr))
      return false;
    read.requests.push_back(request);
    at = end + 1;
  }
  if (requestsStorageText(read) != text)
    return false;
  list = read;
  return true;
}

std::string askedLine(const TimeRequest& request) {
  return askedLineText(request.number, request.account, request.minutesAsked, request.note);
}

std::string answerLine(const TimeRequest& request) {
  if (request.state == RequestState::Open)
    return askedLine(request);
  const bool approved = request.state == RequestState::Approved;
  return answerLineText(request.number, request.state, request.account,
                        approved ? request.minutesGranted : request.minutesAsked);
}
