#pragma once
// Everything the hours file keeps: the allowed hours of each account by name, the default of the
// accounts without their own, the extensions an approval added to a day, and the requests for
// more time; its whole text, version-marked, and the reading of it, which never gives time away.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounting/hours/allowed_hours.h"
#include "accounting/hours/hours_zone.h"
#include "accounting/hours/time_requests.h"
#include "accounting/table/time_stamp.h"
#include "accounting/table/usage_table.h"

struct HoursBook {
  std::map<std::string, AllowedHours> accounts;  // by the account name the table stores
  AllowedHours defaults;                         // of every account without hours of its own
  std::map<std::string, HoursExtension> extensions;
  TimeRequests requests;
  // The zone the hours are read in: the system's when the supervisor last set hours. None in
  // a book from before zones were kept: the system's zone of the moment.
  std::optional<rt::ZoneRule> zone;
  // The stored text could not all be read: every account is outside its hours (what could be
  // read is kept, so that a supervisor's next change writes it back with the change).
  bool damaged = false;
  bool operator==(const HoursBook&) const = default;
};

// The account's schedule: its own, else the default (the whole of every day when none was set
// either), a damaged one (no hours) in a damaged book.
AllowedHours hoursOf(const HoursBook& book, const std::string& account);
// The supervisor's change of one account's hours, or of the default's (account ""): kept, the
// book no longer damaged, and the zone the system has now kept for every account's hours.
void setHoursInBook(HoursBook& book, const std::string& account, const AllowedHours& hours);
// The moment the book's hours are read at: in its zone by the clock's universal time, else the
// stamp's (the system's local time).
Moment hoursMoment(const HoursBook& book, const TimeStamp& stamp);
// The account's extension; none when it is of another day than `date` (yyyymmdd).
HoursExtension extensionOf(const HoursBook& book, const std::string& account, int date);

// "orrindale-hours 1", "default hours1 ...", "zone ..." when the book has one, a line
// "ACCOUNT_HEX hours1 ..." per account, "extension ACCOUNT_HEX yyyymmdd hh:mm" lines, the
// requests' own block and "end", each line ending in "\n". A damaged book is written as sound:
// the change that writes it repairs it.
std::string hoursBookText(const HoursBook& book);
// Reads what hoursBookText wrote; "" (no file) is an empty book. Anything else is damage: false,
// the book keeps the lines that could be read and is marked damaged.
bool readHoursBook(std::string_view text, HoursBook& book);

// A log line of a step over the book and the account it is logged under: a request's lines under
// the request's own account, whoever caused them, so that the report counts them for it; the
// lines of what the caller did (account "") under the caller's.
struct BookLine {
  std::string account;
  std::string message;
  bool operator==(const BookLine&) const = default;
};

// The steps of a request over the book (and the table), the same wherever the table lives; the
// caller saves both and writes the log lines in `logged`, in order. Both first end the requests
// of earlier days unanswered (their lines come first). A damaged book takes neither: written
// again it would read as sound, and only setting hours may repair it.
// The account asks for 15, 30 or 60 minutes at the stamp (seconds `now`): "" and its number, or
// why not, as askForTime says.
std::string askInBook(HoursBook& book,
                      const std::string& account,
                      int minutes,
                      const std::string& note,
                      const TimeStamp& stamp,
                      long long now,
                      int& number,
                      std::vector<BookLine>& logged);
// The supervisor's answer to open request `number`: approved with 1 to 1440 minutes, refused
// with 0. An approval adds the minutes to the account's day with grantToday and, when the
// account is outside its hours at the stamp, extends them today (extendedHours). "" and what
// was done, a sentence each (the request's line first), or why not, and then neither the book's
// requests nor the table changed.
std::string answerInBook(HoursBook& book,
                         UsageTable& table,
                         int number,
                         int minutes,
                         const TimeStamp& stamp,
                         long long now,
                         std::vector<std::string>& done,
                         std::vector<BookLine>& logged);
// The requests of days before the stamp's, open still, ended unanswered; their lines in `logged`.
// Nothing in a damaged book. The caller saves the book when lines were added.
void expireInBook(HoursBook& book, const TimeStamp& stamp, long long now, std::vector<BookLine>& logged);
// An approval kept whose minutes could not be given: the request stays answered, so that its
// minutes are never given twice. In done and logged the minutes granted become the sentence that
// tells the supervisor to grant them by hand, which is returned.
std::string approvedWithoutMinutes(const TimeRequest& approved,
                                   std::vector<std::string>& done,
                                   std::vector<BookLine>& logged);
