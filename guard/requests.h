#pragma once
// The guard's answers to the requests of the copies and of the administration tool, applied to
// the table it keeps with the core's own routines. Whom a request counts for comes from the
// caller's token, never from what the request says, and every change is logged under that
// account. Plain text in and out, so that tests give it any bytes.
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
  // A minute that comes this long or less after the session's time was last charged is charged
  // for all the whole minutes since: a copy suspended between its minutes gains nothing. Longer
  // gaps (a session asleep, a copy replaced) are one minute. Just over the time the guard lets an
  // active session go without a minute.
  long long catchUpSeconds = 240;
  // Wrong passwords typed at the gate from one session within a minute before the gate refuses
  // every password for the rest of that minute, without the cost of a hash.
  int mostWrongPasswords = 5;
};

// The answer to one request. A request that is not whole or is too large is refused, logged
// and changes nothing.
std::string answerRequest(TableKeeper& keeper,
                          const RequestSettings& settings,
                          const Caller& caller,
                          std::string_view request);
