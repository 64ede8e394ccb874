#pragma once
// A child's requests for more time and the supervisor's answers: the list and its rules (one open
// request per account, a pause after each answer, expiry at midnight, a bounded history), its
// storage text, and the log lines each step writes (request_lines.h reads them back).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "accounting/log/request_lines.h"

constexpr std::size_t kLongestNote = 100;
// A new request waits this long after the account's last answer.
constexpr long long kRequestPauseSeconds = 600;
// The newest requests kept; older answered ones are dropped, open ones never.
constexpr std::size_t kKeptRequests = 50;

struct TimeRequest {
  int number = 0;
  std::string account;
  int minutesAsked = 0;   // 15, 30 or 60
  std::string note;       // at most 100 characters, control characters as blanks
  int day = 0;            // the date it was asked on, yyyymmdd
  long long askedAt = 0;  // seconds of the clock (rt::secondsNow)
  RequestState state = RequestState::Open;
  int minutesGranted = 0;    // approved: 1 to 1440
  long long answeredAt = 0;  // approved, refused or expired: when; 0 while open
  bool operator==(const TimeRequest&) const = default;
};

struct TimeRequests {
  int lastNumber = 0;                 // the number last given: numbers rise and are never given twice
  std::vector<TimeRequest> requests;  // oldest first
  bool operator==(const TimeRequests&) const = default;
};

// Opens a request of the account for 15, 30 or 60 minutes, asked on the day (yyyymmdd) at the
// second `now`, and gives its number. Refused with a sentence, changing nothing, while the
// account has an open request, within kRequestPauseSeconds of its last approval or refusal, and
// for any other count of minutes, a note longer than kLongestNote or an unusable account name.
std::string askForTime(TimeRequests& list,
                       const std::string& account,
                       int minutes,
                       const std::string& note,
                       int day,
                       long long now,
                       int& number);
// The account's open request, or nullptr.
const TimeRequest* openRequest(const TimeRequests& list, const std::string& account);
const TimeRequest* findRequest(const TimeRequests& list, int number);

// The answers, to an open request only: an approval with 1 to 1440 minutes, which may differ
// from those asked. "" when answered, otherwise a sentence and nothing changes. The caller adds
// an approval's minutes to today's with grantToday (table_rules.h), which caps the day at 1440.
std::string approveRequest(TimeRequests& list, int number, int minutes, long long now);
std::string refuseRequest(TimeRequests& list, int number, long long now);
// Ends unanswered the open requests asked before `today` (yyyymmdd): a request is for its day
// only. Returns them, for their log lines.
std::vector<TimeRequest> expireRequests(TimeRequests& list, int today, long long now);

// "requests1 LAST\n" and a line per request: "NUMBER ACCOUNT MINUTES NOTE DAY ASKED STATE GRANTED
// ANSWERED\n", the account and the note in hex, the state a word (open, approved, refused, expired).
std::string requestsStorageText(const TimeRequests& list);
// Reads what requestsStorageText wrote; "" is an empty list. False for anything else (the list
// is left as it was): the caller logs it and starts an empty list.
bool readRequestsText(std::string_view text, TimeRequests& list);

// "Request 3 - kid asks 30 minutes: finish my essay" (without the colon for no note).
std::string askedLine(const TimeRequest& request);
// "Request 3 - approved, 45 minutes for kid", "Request 3 - refused, 30 minutes for kid",
// "Request 3 - expired unanswered, 30 minutes for kid": the minutes granted, or those asked.
std::string answerLine(const TimeRequest& request);
