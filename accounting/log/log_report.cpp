#include "accounting/log/log_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "accounting/log/json_text.h"
#include "accounting/log/log_texts.h"
#include "accounting/log/request_lines.h"

using std::chrono::year_month_day;

namespace {

enum class Event {
  Started,
  Ended,
  Machine,
  Admitted,
  Invalid,
  ZeroLogoff,
  ClockBack,
  GuardRestart,
  GuardLogoff,
  FileRestored,
  GuardKeepsClock,
  GuardSawLogon,
  GuardSawLogoff,
  GuardAtZero,
  Request,
  Other
};

// The messages the report counts. What follows a message's opening text is the account the
// message names, or the rest of the message.
struct Marker {
  std::string_view text;
  Event event;
};
constexpr Marker kMarkers[] = {
    {kStartedLine, Event::Started},         {kEndedLine, Event::Ended},
    {kMachineLine, Event::Machine},         {kFoundOneLine, Event::Admitted},
    {kInvalidUserLine, Event::Invalid},     {kSystemLogoffLine, Event::ZeroLogoff},
    {kClockBackLine, Event::ClockBack},     {kGuardRestartLine, Event::GuardRestart},
    {kGuardLogoffLine, Event::GuardLogoff}, {kFileRestoredLine, Event::FileRestored},
    {kGuardKeepsClockLine, Event::GuardKeepsClock}, {kGuardLogonLine, Event::GuardSawLogon},
    {kGuardLogoffSeenLine, Event::GuardSawLogoff},  {kGuardAtZeroLine, Event::GuardAtZero},
    {kRequestLine, Event::Request},
};
constexpr std::string_view kColumnGap = " - ";
constexpr std::size_t kTimeLength = 16;  // "dd/mm/yyyy hh:mm"

struct Line {
  LogTime at;
  Event event = Event::Other;
  std::string_view user;  // the user column
  std::string_view rest;  // what follows the marker
  RequestEvent request;   // what a request's line says
};

bool digitsAt(std::string_view text, std::initializer_list<std::size_t> positions) {
  return std::all_of(positions.begin(), positions.end(),
                     [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; });
}

int numberAt(std::string_view text, std::size_t from, std::size_t length) {
  int value = 0;
  for (std::size_t i = from; i < from + length; ++i)
    value = value * 10 + (text[i] - '0');
  return value;
}

// "dd/mm/yyyy hh:mm" with a real date and time, or nothing.
std::optional<LogTime> parseTime(std::string_view text) {
  if (text.size() != kTimeLength || text[2] != '/' || text[5] != '/' || text[10] != ' ' || text[13] != ':' ||
      !digitsAt(text, {0, 1, 3, 4, 6, 7, 8, 9, 11, 12, 14, 15}))
    return std::nullopt;
  const LogTime time{year_month_day{std::chrono::year{numberAt(text, 6, 4)},
                                    std::chrono::month{static_cast<unsigned>(numberAt(text, 3, 2))},
                                    std::chrono::day{static_cast<unsigned>(numberAt(text, 0, 2))}},
                     numberAt(text, 11, 2), numberAt(text, 14, 2)};
  if (!time.day.ok() || time.hour > 23 || time.minute > 59)
    return std::nullopt;
  return time;
}

// A line counts for what its message opens with: the user column ends at the first gap, so a
// message cannot pass off a marker that follows text of its own.
std::optional<Line> parseLine(std::string_view text) {
  if (text.size() < kTimeLength + kColumnGap.size() || text.substr(kTimeLength, kColumnGap.size()) != kColumnGap)
    return std::nullopt;
  const std::optional<LogTime> at = parseTime(text.substr(0, kTimeLength));
  if (!at)
    return std::nullopt;
  const std::string_view rest = text.substr(kTimeLength + kColumnGap.size());
  const std::size_t gap = rest.find(kColumnGap);
  if (gap == std::string_view::npos)
    return std::nullopt;
  const std::string_view user = rest.substr(0, gap);
  const std::string_view message = rest.substr(gap + kColumnGap.size());
  for (const Marker& marker : kMarkers)
    if (message.starts_with(marker.text)) {
      Line line{*at, marker.event, user, message.substr(marker.text.size()), {}};
      if (marker.event == Event::Request && !readRequestLine(message, line.request))
        line.event = Event::Other;
      return line;
    }
  return Line{*at, Event::Other, user, message, {}};
}

// "text ****" gives text; anything else nothing.
std::optional<std::string_view> withinStars(std::string_view text) {
  constexpr std::string_view stars = kLineStars;
  if (!text.ends_with(stars))
    return std::nullopt;
  return text.substr(0, text.size() - stars.size());
}

// The account a guard's line names, without the reason that may follow it.
std::string_view withoutReason(std::string_view rest) {
  for (const std::string_view reason : {kNotCountingReason, kNoMinutesReason, kNotInTableReason, kAdmittedReason, kOutsideHoursReason})
    if (rest.ends_with(reason))
      return rest.substr(0, rest.size() - reason.size());
  return rest;
}

int dayNumber(year_month_day day) {
  return std::chrono::sys_days{day}.time_since_epoch().count();
}

// What the lines read so far say about one account.
struct AccountState {
  bool running = false;       // a start with no orderly end since
  bool copyStarting = false;  // a new copy's first line came, its start line not yet
  std::optional<LogTime> lastLine;
  std::optional<LogTime> lastLineBeforeCopy;
  std::optional<year_month_day> zeroLogoffCountedOn;
  std::optional<year_month_day> refusalPending;  // the day of an unknown account not yet admitted
};

struct Builder {
  bool guardCounts = false;  // from the start line of a guard that keeps the clock on
  std::map<std::string, AccountState, std::less<>> accounts;
  std::map<std::pair<std::string, int>, ReportRow> rows;
  std::set<std::pair<std::string, std::string>, std::less<>> clockMovesSeen;
  // The day and account of each request number's asked line: its answer counts on that day.
  std::map<int, std::pair<std::string, year_month_day>> requestsAsked;

  AccountState& state(std::string_view account) {
    auto found = accounts.find(account);
    if (found == accounts.end())
      found = accounts.emplace(std::string(account), AccountState{}).first;
    return found->second;
  }

  ReportRow& row(std::string_view account, year_month_day day) {
    ReportRow& entry = rows[{std::string(account), dayNumber(day)}];
    entry.account = account;
    entry.day = day;
    return entry;
  }

  // An unknown account is refused unless a slot was found for it before its start line.
  void settleRefusal(std::string_view account) {
    AccountState& s = state(account);
    if (s.refusalPending)
      ++row(account, *s.refusalPending).refusals;
    s.refusalPending.reset();
  }

  // Whether the line is its writer's: a run's lines and the guard's lines about an account stand
  // under the account they name, the guard's own under the guard's name. In a log the guard keeps
  // the clock for, the copies' own lines are read past: the guard's say when sessions began and
  // ended and when minutes ran out.
  bool counts(const Line& line) const {
    switch (line.event) {
      case Event::Started:
      case Event::Ended:
        return !guardCounts && line.rest == line.user;
      case Event::Invalid:
        // Written before the account is known, or (through the guard) under the account itself.
        if (const auto account = withinStars(line.rest); account && *account != line.user && line.user != kUnknownUser)
          return false;
        return !guardCounts;
      case Event::Machine:
      case Event::Admitted:
      case Event::ZeroLogoff:
        return !guardCounts;
      case Event::GuardRestart:
      case Event::GuardLogoff:
        return withoutReason(line.rest) == line.user;
      case Event::GuardSawLogon:
      case Event::GuardSawLogoff:
      case Event::GuardAtZero:
        return guardCounts && line.rest == line.user;
      case Event::FileRestored:
      case Event::GuardKeepsClock:
        return line.user == kGuardLogName;
      case Event::Request:
        // Whoever caused them, a request's lines are logged under its account.
        return line.request.account == line.user;
      case Event::ClockBack:
      case Event::Other:
        return true;
    }
    return false;
  }

  void apply(const Line& line) {
    const year_month_day day = line.at.day;
    if (!counts(line))
      return;
    switch (line.event) {
      case Event::Started:
      case Event::GuardSawLogon: {
        AccountState& s = state(line.rest);
        ReportRow& r = row(line.rest, day);
        ++r.starts;
        if (s.running && !guardCounts)
          r.afterUnendedCopy.push_back((s.copyStarting ? s.lastLineBeforeCopy : s.lastLine).value_or(line.at));
        s.running = true;
        s.copyStarting = false;
        settleRefusal(line.rest);
        break;
      }
      case Event::Ended:
      case Event::GuardSawLogoff: {
        AccountState& s = state(line.rest);
        ++row(line.rest, day).orderlyEnds;
        s.running = false;
        s.zeroLogoffCountedOn.reset();
        break;
      }
      case Event::Machine: {
        // The first line a copy writes under its account's name.
        AccountState& s = state(line.user);
        s.lastLineBeforeCopy = s.lastLine;
        s.copyStarting = true;
        break;
      }
      case Event::Admitted:
        state(line.user).refusalPending.reset();
        break;
      case Event::Invalid:
        if (const auto account = withinStars(line.rest)) {
          settleRefusal(*account);
          state(*account).refusalPending = day;
        }
        break;
      case Event::ZeroLogoff:
      case Event::GuardAtZero: {
        // A copy at zero in test mode logs this at every minute; a run that ends at zero ends
        // with its end line. Counted once per run and day.
        AccountState& s = state(line.user);
        if ((line.event == Event::GuardAtZero || line.rest.empty()) && s.zeroLogoffCountedOn != day) {
          ++row(line.user, day).logoffsAtZero;
          s.zeroLogoffCountedOn = day;
        }
        break;
      }
      case Event::ClockBack: {
        const auto stamp = withinStars(line.rest);
        const std::optional<LogTime> from = stamp ? parseTime(*stamp) : std::nullopt;
        if (from && clockMovesSeen.emplace(std::string(line.user), std::string(*stamp)).second)
          row(line.user, day).clockMovesBack.push_back(*from);
        break;
      }
      case Event::GuardRestart:
        ++row(line.user, day).guardRestarts;
        break;
      case Event::GuardLogoff: {
        ReportRow& r = row(line.user, day);
        ++r.guardLogoffs;
        if (line.rest.ends_with(kNotInTableReason))
          ++r.refusals;
        break;
      }
      case Event::FileRestored:
        ++row(line.user, day).filesRestored;
        break;
      case Event::GuardKeepsClock:
        guardCounts = true;
        break;
      case Event::Request:
        countRequest(line);
        break;
      case Event::Other:
        break;
    }
    // The guard and the supervisor write about a copy; their lines are not the copy's own.
    const bool answer = line.event == Event::Request && line.request.state != RequestState::Open;
    if (line.event != Event::GuardRestart && line.event != Event::GuardLogoff && !answer)
      state(line.user).lastLine = line.at;
  }

  // An answer counts on the day its request was asked when the log holds that line: a request
  // ends unanswered at midnight, and its line comes the next day or later.
  void countRequest(const Line& line) {
    const RequestEvent& request = line.request;
    if (request.state == RequestState::Open) {
      requestsAsked[request.number] = {request.account, line.at.day};
      row(request.account, line.at.day).minutesAsked += request.minutes;
      return;
    }
    const auto asked = requestsAsked.find(request.number);
    ReportRow& r = row(request.account, asked != requestsAsked.end() && asked->second.first == request.account
                                            ? asked->second.second
                                            : line.at.day);
    (request.state == RequestState::Approved  ? r.minutesGranted
     : request.state == RequestState::Refused ? r.minutesRefused
                                              : r.minutesExpired) += request.minutes;
  }
};

std::string twoDigits(int number) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", number);
  return text;
}

std::string dateText(year_month_day day) {
  return twoDigits(static_cast<int>(static_cast<unsigned>(day.day()))) + "/" +
         twoDigits(static_cast<int>(static_cast<unsigned>(day.month()))) + "/" +
         std::to_string(static_cast<int>(day.year()));
}

std::string isoDate(year_month_day day) {
  return std::to_string(static_cast<int>(day.year())) + "-" +
         twoDigits(static_cast<int>(static_cast<unsigned>(day.month()))) + "-" +
         twoDigits(static_cast<int>(static_cast<unsigned>(day.day())));
}

std::string clockText(const LogTime& time) {
  return twoDigits(time.hour) + ":" + twoDigits(time.minute);
}

std::string jsonTimes(const std::vector<LogTime>& times) {
  std::string out = "[";
  for (std::size_t i = 0; i < times.size(); ++i)
    out += (i ? ", \"" : "\"") + isoDate(times[i].day) + " " + clockText(times[i]) + "\"";
  return out + "]";
}

std::string padded(const std::string& text, std::size_t width, bool right) {
  const std::string fill(width > text.size() ? width - text.size() : 0, ' ');
  return right ? fill + text : text + fill;
}

std::string windowText(int days) {
  if (days == 0)
    return "the whole log";
  return days == 1 ? "today" : "the last " + std::to_string(days) + " days";
}

constexpr std::array<std::string_view, 10> kHeaders{"Account",        "Date",          "Starts",        "Ended",
                                                    "After unended",  "Clock back",    "Zero log-offs", "Refused",
                                                    "Guard restarts", "Guard log-offs"};

std::vector<std::string> cellsOf(const ReportRow& row) {
  return {row.account,
          dateText(row.day),
          std::to_string(row.starts),
          std::to_string(row.orderlyEnds),
          std::to_string(row.afterUnendedCopy.size()),
          std::to_string(row.clockMovesBack.size()),
          std::to_string(row.logoffsAtZero),
          std::to_string(row.refusals),
          std::to_string(row.guardRestarts),
          std::to_string(row.guardLogoffs)};
}

}  // namespace

LogReport buildLogReport(std::string_view logText, year_month_day today, int days) {
  Builder builder;
  LogReport report{today, std::max(days, 0), {}, 0};
  while (!logText.empty()) {
    const std::size_t end = logText.find('\n');
    std::string_view text = logText.substr(0, end);
    logText.remove_prefix(end == std::string_view::npos ? logText.size() : end + 1);
    if (text.ends_with('\r'))
      text.remove_suffix(1);
    if (text.empty())
      continue;
    if (const std::optional<Line> line = parseLine(text))
      builder.apply(*line);
    else
      ++report.unreadLines;
  }
  for (const auto& [account, state] : builder.accounts)
    if (state.refusalPending)
      builder.settleRefusal(account);

  const int firstDay = dayNumber(today) - report.days + 1;
  for (auto& [key, row] : builder.rows)
    if (report.days == 0 || key.second >= firstDay)
      report.rows.push_back(std::move(row));
  return report;
}

std::string reportText(const LogReport& report) {
  std::string text = "Orrindale activity, " + windowText(report.days) + ", to " + dateText(report.today) + "\n";
  if (report.rows.empty())
    text += "No activity logged.\n";
  else {
    std::vector<std::vector<std::string>> cells;
    for (const ReportRow& row : report.rows)
      cells.push_back(cellsOf(row));
    std::vector<std::size_t> widths;
    for (std::size_t column = 0; column < kHeaders.size(); ++column) {
      std::size_t width = kHeaders[column].size();
      for (const auto& line : cells)
        width = std::max(width, line[column].size());
      widths.push_back(width);
    }
    // The account and the date to the left, the counts to the right.
    const auto tableLine = [&](const auto& values) {
      std::string out;
      for (std::size_t column = 0; column < values.size(); ++column)
        out += (column ? "  " : "") + padded(std::string(values[column]), widths[column], column >= 2);
      return out + "\n";
    };
    text += tableLine(kHeaders);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      text += tableLine(cells[i]);
      for (const LogTime& last : report.rows[i].afterUnendedCopy)
        text += "    started after a copy with no orderly end; its last line " + dateText(last.day) + " " +
                clockText(last) + "\n";
      for (const LogTime& from : report.rows[i].clockMovesBack)
        text += "    clock moved back from " + dateText(from.day) + " " + clockText(from) + "\n";
      if (const int restored = report.rows[i].filesRestored)
        text += "    the data file was changed outside Orrindale and put back " + std::to_string(restored) +
                (restored == 1 ? " time\n" : " times\n");
      if (const ReportRow& r = report.rows[i]; r.minutesAsked + r.minutesGranted + r.minutesRefused + r.minutesExpired)
        text += "    more time: " + std::to_string(r.minutesAsked) + " minutes asked, " +
                std::to_string(r.minutesGranted) + " granted, " + std::to_string(r.minutesRefused) + " refused, " +
                std::to_string(r.minutesExpired) + " expired unanswered\n";
    }
  }
  if (report.unreadLines > 0)
    text += std::to_string(report.unreadLines) + " line(s) of the log could not be read.\n";
  return text;
}

std::string reportJson(const LogReport& report) {
  std::string json = "{\"today\": \"" + isoDate(report.today) + "\", \"days\": " + std::to_string(report.days) +
                     ", \"unreadLines\": " + std::to_string(report.unreadLines) + ", \"rows\": [";
  for (std::size_t i = 0; i < report.rows.size(); ++i) {
    const ReportRow& row = report.rows[i];
    json += std::string(i ? "," : "") + "\n  {\"account\": " + jsonString(row.account) + ", \"date\": \"" +
            isoDate(row.day) + "\", \"starts\": " + std::to_string(row.starts) +
            ", \"orderlyEnds\": " + std::to_string(row.orderlyEnds) +
            ", \"afterUnendedCopy\": " + jsonTimes(row.afterUnendedCopy) +
            ", \"clockMovesBack\": " + jsonTimes(row.clockMovesBack) +
            ", \"logoffsAtZero\": " + std::to_string(row.logoffsAtZero) +
            ", \"refused\": " + std::to_string(row.refusals) +
            ", \"guardRestarts\": " + std::to_string(row.guardRestarts) +
            ", \"guardLogoffs\": " + std::to_string(row.guardLogoffs) +
            ", \"filesRestored\": " + std::to_string(row.filesRestored) +
            ", \"minutesAsked\": " + std::to_string(row.minutesAsked) +
            ", \"minutesGranted\": " + std::to_string(row.minutesGranted) +
            ", \"minutesRefused\": " + std::to_string(row.minutesRefused) +
            ", \"minutesExpired\": " + std::to_string(row.minutesExpired) + "}";
  }
  return json + (report.rows.empty() ? "]}\n" : "\n]}\n");
}
