// The administration tool's commands for allowed hours and requests for more time: set-hours,
// set-default-hours, requests, approve and refuse, over the hours where the table lives.
#include "accounting/hours/hours_book.h"
#include "accounting/hours/supervisor_hours.h"
#include "accounting/log/json_text.h"
#include "accounting/table/table_home.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/command_line.h"
#include "admin/table_file.h"

namespace {
// The book as it is now; false after saying why not. A damaged book is read: what it holds is
// shown and a change is written over it.
bool loadHours(Console& console, HoursBook& book) {
  const HoursLoad loaded = vHome.loadHours(book);
  if (loaded.kind == HoursLoad::Loaded || loaded.kind == HoursLoad::Damaged)
    return true;
  console.err << "orrindale-admin: "
              << (loaded.kind == HoursLoad::Silent ? "the guard service OrrindaleGuard does not answer" : loaded.why)
              << "; nothing was changed\n";
  return false;
}

int saveHours(Console& console, const std::string& account, const AllowedHours& hours, const std::string& done) {
  const SaveOutcome saved = vHome.saveHours(account, hours, done);
  if (saved.kind == SaveOutcome::NotAdministrator)
    console.err << "orrindale-admin: only an administrator may change the hours of a protected install; nothing was "
                   "changed\n";
  else if (saved.kind != SaveOutcome::Saved)
    console.err << "orrindale-admin: " << (saved.why.empty() ? "the hours could not be saved" : saved.why) << "\n";
  if (saved.kind != SaveOutcome::Saved)
    return kExitFile;
  console.out << done << "\n";
  return kExitDone;
}

// The words over a schedule, or the refusal; the account's own schedule when it has one, the
// whole day when none was set, and no hours when the stored ones could not be read.
int setHoursOf(const Invocation& call, const std::string& account, const std::vector<std::string>& words) {
  Console& console = *call.console;
  HoursBook book;
  if (!loadHours(console, book))
    return kExitFile;
  AllowedHours hours = hoursToChange(book, account);
  const std::string problem = setHoursProblem(words, hours);
  if (!problem.empty())
    return refuseUsage(call, problem);
  return saveHours(console, account, hours, hoursSetSentence(account, hours));
}

int setHours(const Invocation& call) {
  if (!loadForCommand(*call.console))
    return kExitFile;
  const int slot = accountSlot(vTable, call.operands[0]);
  if (slot == 0) {
    call.console->err << "orrindale-admin: there is no account \"" << call.operands[0]
                      << "\" in the table; nothing was changed\n";
    return kExitUsage;
  }
  return setHoursOf(call, vTable.user(slot).field(kAccount), {call.operands.begin() + 1, call.operands.end()});
}

int setDefaultHours(const Invocation& call) {
  return setHoursOf(call, "", call.operands);
}

const char* stateWord(RequestState state) {
  switch (state) {
    case RequestState::Open:
      return "open";
    case RequestState::Approved:
      return "approved";
    case RequestState::Refused:
      return "refused";
    case RequestState::Expired:
      break;
  }
  return "expired";
}

// Requests are for the day they were asked on: older ones are shown and answered no more.
std::vector<TimeRequest> todaysRequests(const HoursBook& book) {
  MakeTimeStamp();
  std::vector<TimeRequest> today;
  for (const TimeRequest& request : book.requests.requests)
    if (request.day == dateNumber(vStamp))
      today.push_back(request);
  return today;
}

int requests(const Invocation& call) {
  HoursBook book;
  if (!loadHours(*call.console, book))
    return kExitFile;
  TextWriter& out = call.console->out;
  const std::vector<TimeRequest> today = todaysRequests(book);
  if (call.has("--json")) {
    out << "[";
    for (std::size_t i = 0; i < today.size(); ++i) {
      const TimeRequest& request = today[i];
      out << (i ? ",\n " : "\n ") << "{\"number\": " << request.number
          << ", \"account\": " << jsonString(request.account) << ", \"minutesAsked\": " << request.minutesAsked
          << ", \"note\": " << jsonString(request.note) << ", \"state\": \"" << stateWord(request.state)
          << "\", \"minutesGranted\": " << request.minutesGranted << "}";
    }
    out << (today.empty() ? "]\n" : "\n]\n");
    return kExitDone;
  }
  if (today.empty())
    out << "No requests today\n";
  for (const TimeRequest& request : today)
    out << answerLine(request) << (request.state == RequestState::Open ? " (open)" : "") << "\n";
  return kExitDone;
}

// approve N [MINUTES] and refuse N: the request is looked at first, so that a closed or unknown
// one is refused with status 1 before anything is written.
int answer(const Invocation& call, bool approving) {
  Console& console = *call.console;
  int number = 0;
  int minutes = 0;
  std::string problem = wholeNumber(call.operands[0], 999999999, number) && number > 0 ? "" : "N is a request's number";
  if (problem.empty() && approving && call.operands.size() > 1 &&
      (!(problem = minutesProblem(call.operands[1], minutes)).empty() || minutes == 0))
    problem = "MINUTES is a whole number from 1 to " + std::to_string(kMostMinutes);
  if (!problem.empty())
    return refuseUsage(call, problem);
  HoursBook book;
  if (!loadForCommand(console) || !loadHours(console, book))
    return kExitFile;
  const TimeRequest* request = nullptr;
  for (const TimeRequest& today : todaysRequests(book))
    if (today.number == number)
      request = findRequest(book.requests, number);
  if (!request || request->state != RequestState::Open) {
    console.err << "orrindale-admin: request " << number
                << (request ? " is answered already" : " is not one of today's")
                << " (\"orrindale-admin requests\" lists them); nothing was changed\n";
    return kExitUsage;
  }
  if (approving && minutes == 0)
    minutes = request->minutesAsked;
  std::vector<std::string> done;
  const SaveOutcome saved = vHome.answerRequest(number, approving ? minutes : 0, std::nullopt, done);
  if (saved.kind == SaveOutcome::NotAdministrator)
    console.err << "orrindale-admin: only an administrator may answer requests in a protected install; nothing was "
                   "changed\n";
  else if (saved.kind != SaveOutcome::Saved)
    console.err << "orrindale-admin: " << saved.why << "\n";
  if (saved.kind != SaveOutcome::Saved)
    return kExitFile;
  confirm(console, done);
  return kExitDone;
}

int approve(const Invocation& call) {
  return answer(call, true);
}

int refuse(const Invocation& call) {
  return answer(call, false);
}
}  // namespace

void addHoursCommands(std::vector<AdminCommand>& table) {
  table.push_back({"set-hours",
                   "NAME DAYS=HOURS...",
                   "the hours of the day the account may use the computer; DAYS as Mon, Mon-Fri, Sat,Sun or all, "
                   "HOURS as any, none or up to 3 periods HH:MM-HH:MM joined by commas",
                   2,
                   kAnyNumber,
                   {},
                   setHours});
  table.push_back({"set-default-hours",
                   "DAYS=HOURS...",
                   "the hours of every account without hours of its own, as set-hours (none set: the whole day)",
                   1,
                   kAnyNumber,
                   {},
                   setDefaultHours});
  table.push_back(
      {"requests", "[--json]", "today's requests for more time, open and answered", 0, 0, {{"--json", ""}}, requests});
  table.push_back({"approve",
                   "N [MINUTES]",
                   "gives the minutes of open request N (or MINUTES) today; outside the account's hours, extends "
                   "them today as well",
                   1,
                   2,
                   {},
                   approve});
  table.push_back({"refuse", "N", "refuses open request N", 1, 1, {}, refuse});
}
