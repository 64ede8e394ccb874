#pragma once
// The log lines of a request for more time, written and read back in one place: "Request 3 - kid
// asks 30 minutes: finish my essay" and the answers "Request 3 - approved, 45 minutes for kid",
// "... refused, ..." and "... expired unanswered, ...". The report counts them.
#include <string>
#include <string_view>

enum class RequestState { Open, Approved, Refused, Expired };

// Far beyond any household's requests, and far from the end of int, so a number is always left.
constexpr int kMostRequestNumber = 999999999;

// "Request 3 - kid asks 30 minutes: finish my essay" (without the colon for no note).
std::string askedLineText(int number, const std::string& account, int minutes, const std::string& note);
// An answer's line, for any state but Open: the minutes granted, or those asked.
std::string answerLineText(int number, RequestState state, const std::string& account, int minutes);

// A log message read back as one of those lines, for the report.
struct RequestEvent {
  int number = 0;
  std::string account;
  RequestState state = RequestState::Open;  // Open: the request itself
  int minutes = 0;                          // asked, granted, or asked and refused or expired
  bool operator==(const RequestEvent&) const = default;
};
bool readRequestLine(std::string_view message, RequestEvent& event);
