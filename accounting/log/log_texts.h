#pragma once
// The messages of the activity log that the supervisor's report reads back, defined once for
// the lines' writers (the program, the guard) and for the report that recognises them. Plain
// character constants: every file that includes them gets no initialisation code of its own.
#include <string>
#include <string_view>

#include "accounting/table/usage_table.h"

// The user column of the lines the guard writes about itself; lines about an account carry
// that account.
constexpr const char* kGuardLogName = "Guard";
// "Process Started - User " + account, and its orderly end.
constexpr const char* kStartedLine = "Process Started - User ";
constexpr const char* kEndedLine = "Process Ended - User ";
// "Machine in use " + computer + ", Number " + nn: a copy's first line after its account is known.
constexpr const char* kMachineLine = "Machine in use ";
// "Found one - " + nn: the unknown account was given slot nn.
constexpr const char* kFoundOneLine = "Found one - ";
// "**** INVALID USER " + account + " ****"
constexpr const char* kInvalidUserLine = "**** INVALID USER ";
constexpr const char* kSystemLogoffLine = "**** SYSTEM LOGOFF ****";
// "**** CLOCK MOVED BACK from dd/mm/yyyy hh:mm ****"
constexpr const char* kClockBackLine = "**** CLOCK MOVED BACK from ";
// "Guard restarted Orrindale - User " + account
constexpr const char* kGuardRestartLine = "Guard restarted Orrindale - User ";
// "Guard logged off " + account, and why when the reason is not repeated restarts
constexpr const char* kGuardLogoffLine = "Guard logged off ";
constexpr const char* kNoMinutesReason = " - no minutes left";
// What followed the account in a restart of copies that did not count (earlier versions' logs)
constexpr const char* kNotCountingReason = " (not counting)";
// Why the guard logged off an account without a slot: it got none, or it was given one.
constexpr const char* kNotInTableReason = " - not in the table";
constexpr const char* kAdmittedReason = " - new account, admitted";
// A guard that keeps the clock: its start, the logons and log-offs it sees, and the minute that
// left an account none. From its start line on, the report counts an account's runs from these.
constexpr const char* kGuardKeepsClockLine = "Guard started - it keeps the table and the clock";
constexpr const char* kGuardLogonLine = "Guard saw a logon - User ";
constexpr const char* kGuardLogoffSeenLine = "Guard saw a log-off - User ";
constexpr const char* kGuardAtZeroLine = "Guard charged the last minute - User ";
// The guard found the data file changed, replaced or gone, and wrote its own table again.
constexpr const char* kFileRestoredLine = "**** DATA FILE CHANGED OUTSIDE ORRINDALE - restored ****";
// The same for the hours file beside it.
constexpr const char* kHoursRestoredLine = "**** HOURS FILE CHANGED OUTSIDE ORRINDALE - restored ****";
// "**** ALLOWED HOURS DAMAGED - User " + account + " is kept outside them until they are set again ****"
// The account is outside its allowed hours: the copy logs it off, as at zero.
constexpr const char* kOutsideHoursLine = "**** OUTSIDE ALLOWED HOURS ****";
// What follows the account when the guard logged it off outside its hours.
constexpr const char* kOutsideHoursReason = " - outside allowed hours";
constexpr const char* kHoursDamagedLine = "**** ALLOWED HOURS DAMAGED - User ";
// The hours file could not all be read: + its path + kLineStars. Every account is kept outside its
// hours until a supervisor sets hours again, which writes the file sound.
constexpr const char* kHoursFileDamagedLine = "**** HOURS FILE DAMAGED - every user kept outside the hours - ";
// "Request " + number + " - " and what happened to a request for more time (time_requests.h).
constexpr const char* kRequestLine = "Request ";
// Whether the message is one that only the guard and the administration tools write: a copy
// that sends such a line to the guard is refused.
inline bool writtenByGuardOnly(const std::string& message) {
  for (std::string_view opening : {"Guard ", "**** DATA FILE CHANGED OUTSIDE ORRINDALE", "**** HOURS FILE ",
                                   "Admin tool - ", "Administration window - ", "Password window - ", kRequestLine})
    if (message.starts_with(opening))
      return true;
  return false;
}
// What closes the starred messages.
constexpr const char* kLineStars = " ****";
