#include "accounting/hours/hours_book.h"

#include <algorithm>
#include <vector>

#include "accounting/table/stored_text.h"
#include "accounting/table/table_rules.h"

namespace {
constexpr std::string_view kVersionLine = "orrindale-hours 1";
constexpr std::string_view kDefaultWord = "default ";
constexpr std::string_view kExtensionWord = "extension ";
constexpr std::string_view kZoneWord = "zone ";
constexpr std::string_view kRequestsMarker = "requests1 ";
constexpr std::string_view kEndLine = "end";
constexpr std::string_view kDamagedWord = "damaged";
constexpr std::size_t kMostAccountBytes = 256;

// "ACCOUNT_HEX REST": the account and the rest, false when the name is not hex of a name.
bool splitAccount(std::string_view line, std::string& account, std::string_view& rest) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos || !unhexText(line.substr(0, blank), kMostAccountBytes, account) ||
      account.empty())
    return false;
  rest = line.substr(blank + 1);
  return true;
}

// One line of the book, over it; false when it is not one a save writes.
bool readLine(std::string_view line, HoursBook& book) {
  if (line.starts_with(kDefaultWord))
    return readHoursText(line.substr(kDefaultWord.size()), book.defaults);
  if (line.starts_with(kZoneWord)) {
    rt::ZoneRule zone;
    if (book.zone || !readZoneText(line.substr(kZoneWord.size()), zone))
      return false;
    book.zone = zone;
    return true;
  }
  std::string account;
  std::string_view rest;
  if (line.starts_with(kExtensionWord)) {
    HoursExtension extension;
    if (!splitAccount(line.substr(kExtensionWord.size()), account, rest) || !readExtensionText(rest, extension) ||
        extensionStorageText(extension) != rest)
      return false;
    book.extensions[account] = extension;
    return true;
  }
  if (!splitAccount(line, account, rest) || rest.empty())
    return false;
  // A damaged schedule is kept as damaged: that account stays outside its hours even after the
  // book is written again for another change, until its own hours are set.
  if (rest == kDamagedWord) {
    readHoursText(rest, book.accounts[account]);
    return true;
  }
  return readHoursText(rest, book.accounts[account]);
}
}  // namespace

AllowedHours hoursOf(const HoursBook& book, const std::string& account) {
  if (book.damaged) {
    AllowedHours none;
    for (DayHours& day : none.days)
      day.periods.clear();
    none.damaged = true;
    return none;
  }
  const auto found = book.accounts.find(account);
  return found == book.accounts.end() ? book.defaults : found->second;
}

void setHoursInBook(HoursBook& book, const std::string& account, const AllowedHours& hours) {
  (account.empty() ? book.defaults : book.accounts[account]) = hours;
  book.damaged = false;
  rt::ZoneRule zone = rt::systemZone();
  // A summer time the file could not keep back (a change on one side only, a week past 5) would
  // read as damage and keep every account outside its hours: the zone's standard offset is kept.
  if (rt::ZoneRule kept; !readZoneText(zoneStorageText(zone), kept))
    zone = {zone.bias, zone.standardBias, zone.standardBias, {}, {}};
  book.zone = zone;
}

Moment hoursMoment(const HoursBook& book, const TimeStamp& stamp) {
  return book.zone ? zoneMoment(*book.zone) : momentOf(stamp);
}

HoursExtension extensionOf(const HoursBook& book, const std::string& account, int date) {
  const auto found = book.extensions.find(account);
  return found == book.extensions.end() || found->second.date != date ? HoursExtension{} : found->second;
}

std::string hoursBookText(const HoursBook& book) {
  std::string text = std::string(kVersionLine) + "\n";
  text += std::string(kDefaultWord) + hoursStorageText(book.defaults) + "\n";
  if (book.zone)
    text += std::string(kZoneWord) + zoneStorageText(*book.zone) + "\n";
  for (const auto& [account, hours] : book.accounts)
    text += hexText(account) + " " + (hours.damaged ? std::string(kDamagedWord) : hoursStorageText(hours)) + "\n";
  for (const auto& [account, extension] : book.extensions)
    if (extension.date != 0)
      text += std::string(kExtensionWord) + hexText(account) + " " + extensionStorageText(extension) + "\n";
  text += requestsStorageText(book.requests);
  return text + std::string(kEndLine) + "\n";
}

bool readHoursBook(std::string_view text, HoursBook& book) {
  book = HoursBook{};
  if (text.empty())
    return true;
  bool sound = text.ends_with(std::string(kEndLine) + "\n");
  if (sound)
    text.remove_suffix(kEndLine.size() + 1);
  std::size_t at = 0;
  bool first = true;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos)
      end = text.size();
    const std::string_view line = text.substr(at, end - at);
    if (first) {
      sound = sound && line == kVersionLine;
      first = false;
    } else if (line.starts_with(kRequestsMarker)) {
      // The requests' block runs to the end: read as a whole, or lost as a whole.
      sound = readRequestsText(text.substr(at), book.requests) && sound;
      break;
    } else if (!readLine(line, book)) {
      sound = false;
    }
    at = end + 1;
  }
  book.damaged = !sound;
  return sound;
}

namespace {
constexpr const char* kDamagedBook =
    "the allowed hours could not all be read; requests wait until the supervisor sets the hours again";
}  // namespace

void expireInBook(HoursBook& book, const TimeStamp& stamp, long long now, std::vector<BookLine>& logged) {
  if (book.damaged)
    return;
  for (const TimeRequest& expired : expireRequests(book.requests, dateNumber(stamp), now))
    logged.push_back({expired.account, answerLine(expired)});
}

std::string askInBook(HoursBook& book,
                      const std::string& account,
                      int minutes,
                      const std::string& note,
                      const TimeStamp& stamp,
                      long long now,
                      int& number,
                      std::vector<BookLine>& logged) {
  if (book.damaged)
    return kDamagedBook;
  expireInBook(book, stamp, now, logged);
  const std::string refusal = askForTime(book.requests, account, minutes, note, dateNumber(stamp), now, number);
  if (refusal.empty())
    logged.push_back({account, askedLine(*findRequest(book.requests, number))});
  return refusal;
}

std::string answerInBook(HoursBook& book,
                         UsageTable& table,
                         int number,
                         int minutes,
                         const TimeStamp& stamp,
                         long long now,
                         std::vector<std::string>& done,
                         std::vector<BookLine>& logged) {
  if (book.damaged)
    return kDamagedBook;
  expireInBook(book, stamp, now, logged);
  const TimeRequest* asked = findRequest(book.requests, number);
  const std::string account = asked ? asked->account : "";
  const int slot = accountSlot(table, account);
  if (minutes > 0 && asked && asked->state == RequestState::Open && slot == 0)
    return "there is no account \"" + account + "\" in the table";
  const std::string refusal =
      minutes > 0 ? approveRequest(book.requests, number, minutes, now) : refuseRequest(book.requests, number, now);
  if (!refusal.empty())
    return refusal;
  done = {answerLine(*findRequest(book.requests, number))};
  if (minutes > 0) {
    const int left = grantToday(table.user(slot), minutes, stamp);
    done.push_back(std::to_string(minutes) + " minutes granted to " + account + ", " + std::to_string(left) +
                   " left today");
    const Moment moment = hoursMoment(book, stamp);
    const AllowedHours hours = hoursOf(book, account);
    const HoursExtension current = extensionOf(book, account, moment.date);
    if (!hoursAt(hours, moment, current).inside) {
      const HoursExtension extended = extendedHours(hours, moment, current, minutes);
      if (extended != current) {
        book.extensions[account] = extended;
        done.push_back("hours of " + account + " extended " + extensionText(extended));
      }
    }
  }
  logged.push_back({account, done.front()});
  for (std::size_t i = 1; i < done.size(); ++i)
    logged.push_back({"", "Admin tool - " + done[i]});
  return "";
}

std::string approvedWithoutMinutes(const TimeRequest& approved,
                                   std::vector<std::string>& done,
                                   std::vector<BookLine>& logged) {
  const std::string minutes = std::to_string(approved.minutesGranted);
  const std::string sentence = "request " + std::to_string(approved.number) + " is approved, but its " + minutes +
                               " minutes could not be given to " + approved.account +
                               ": grant them by hand (orrindale-admin grant \"" + approved.account + "\" " + minutes +
                               ")";
  // answerInBook says the minutes granted second.
  std::replace(logged.begin(), logged.end(), BookLine{"", "Admin tool - " + done.at(1)},
               BookLine{"", "Admin tool - " + sentence});
  done.at(1) = sentence;
  return sentence;
}
