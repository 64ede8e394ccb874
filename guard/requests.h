#pragma once
// The guard's answers to the requests of the copies and of the administration tool, applied to
// the table it keeps with the core's own routines. Whom a request counts for comes from the
// caller's token, never from what the request says, and every change is logged under that
// account (the lines of a request for more time under the request's). Plain text in and out, so
// that tests give it any bytes.
#include <string>
#include <string_view>

#include "guard/table_keeper.h"

// Who sent a request, as the platform tells from the pipe.
struct Caller {
  std::string account;         // the account of the caller's token
  bool administrator = false;  // the token is LocalSystem's or an enabled administrator's
  unsigned session = 0;        // the logon session the caller runs in
};

struct RequestSettings {
  // For tests under Wine, where every program runs as one account: the account a request names
  // is believed. Only the service's own start arguments set it, and only administrators give those.
  bool believeNamedAccounts = false;
  // Wrong passwords typed at the gate for one account within a minute before the gate refuses
  // every password of that account for a minute; each further as many double the lock, up to an hour.
  int mostWrongPasswords = 5;
  long long longestLockSeconds = 3600;
  // Log lines one logon session may have the guard write in a minute; the rest are dropped and
  // counted in one line.
  int mostLogLines = 60;
};

// The answer to one request. A request that is not whole or is too large is refused, logged
// and changes nothing.
std::string answerRequest(TableKeeper& keeper,
                          const RequestSettings& settings,
                          const Caller& caller,
                          std::string_view request);

// Closes each session's minute that is over: the lines it had dropped and the refusals it had
// sent beyond the first are logged, one line each, under its account. The guard's round calls it.
void settleSessionWrites(TableKeeper& keeper, long long now);

// Ends unanswered the open requests of earlier days, soon after midnight, each logged under its
// own account; a request is for its day only. The guard's round calls it; when the hours file
// cannot be written it is tried again at the next round.
void expireEarlierRequests(TableKeeper& keeper, long long now);
