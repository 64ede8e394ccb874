#pragma once
// The messages of the activity log that the supervisor's report reads back, defined once for
// the lines' writers (the program, the guard) and for the report that recognises them.
#include <string>
#include <string_view>

// The user column of a copy's lines until it knows its account.
inline const std::string kUnknownUser = "Admin";
// "Process Started - User " + account, and its orderly end.
inline const std::string kStartedLine = "Process Started - User ";
inline const std::string kEndedLine = "Process Ended - User ";
// "Machine in use " + computer + ", Number " + nn: a copy's first line after its account is known.
inline const std::string kMachineLine = "Machine in use ";
// "Found one - " + nn: the unknown account was given slot nn.
inline const std::string kFoundOneLine = "Found one - ";
// "**** INVALID USER " + account + " ****"
inline const std::string kInvalidUserLine = "**** INVALID USER ";
inline const std::string kSystemLogoffLine = "**** SYSTEM LOGOFF ****";
// "**** CLOCK MOVED BACK from dd/mm/yyyy hh:mm ****"
inline const std::string kClockBackLine = "**** CLOCK MOVED BACK from ";
// "Guard restarted Orrindale - User " + account
inline const std::string kGuardRestartLine = "Guard restarted Orrindale - User ";
// "Guard logged off " + account, and why when the reason is not repeated restarts
inline const std::string kGuardLogoffLine = "Guard logged off ";
inline const std::string kNoMinutesReason = " - no minutes left";
// What follows the account in a restart of copies that did not count
inline const std::string kNotCountingReason = " (not counting)";
// The guard found the data file changed, replaced or gone, and wrote its own table again.
inline const std::string kFileRestoredLine = "**** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****";
// Whether the message is one that only the guard and the administration tools write: a copy
// that sends such a line to the guard is refused.
inline bool writtenByGuardOnly(const std::string& message) {
  for (std::string_view opening : {"Guard ", "**** DATA FILE CHANGED OUTSIDE ORRINDALE", "Admin tool - ",
                                   "Administration window - ", "Password window - "})
    if (message.starts_with(opening))
      return true;
  return false;
}
// What closes the starred messages.
inline const std::string kLineStars = " ****";
