#include "accounting/program/request_watch.h"

#include "accounting/hours/hours_book.h"
#include "accounting/program/ui_routines.h"
#include "accounting/table/table_home.h"
#include "accounting/table/usage_table.h"

namespace {
// The last request of the account asked on the day; the list is oldest first.
const TimeRequest* latestRequest(const TimeRequests& list, const std::string& account, int day) {
  const TimeRequest* latest = nullptr;
  for (const TimeRequest& request : list.requests)
    if (request.account == account && request.day == day)
      latest = &request;
  return latest;
}

std::string answerText(const TimeRequest& request) {
  const std::string name = "Request " + std::to_string(request.number);
  if (request.state == RequestState::Refused)
    return name + " refused";
  if (request.state != RequestState::Approved)
    return "";
  const int minutes = request.minutesGranted;
  return name + " approved: " + std::to_string(minutes) + (minutes == 1 ? " more minute" : " more minutes") + " today";
}

std::string currentAccount() {
  return vSession.currentUser != 0 ? vTable.user(vSession.currentUser).field(kAccount) : "";
}

// The hours as they are now, with the date of today; false, with why, when they could not be asked for.
bool readBook(HoursBook& book, int& today, std::string& why) {
  const HoursLoad loaded = vHome.loadHours(book);
  if (loaded.kind == HoursLoad::NotKept || loaded.kind == HoursLoad::Silent) {
    why = loaded.why;
    return false;
  }
  MakeTimeStamp();
  today = dateNumber(vStamp);
  return true;
}
}  // namespace

std::string watchRequest(const HoursBook& book, const std::string& account, int today) {
  const TimeRequest* latest = latestRequest(book.requests, account, today);
  const bool sawItWaiting = latest && vSession.requestOpen && vSession.requestNumber == latest->number;
  vSession.requestNumber = latest ? latest->number : 0;
  vSession.requestMinutes = latest ? latest->minutesAsked : 0;
  vSession.requestOpen = latest && latest->state == RequestState::Open;
  return sawItWaiting ? answerText(*latest) : "";
}

void requestSent(int number, int minutes) {
  vSession.requestNumber = number;
  vSession.requestMinutes = minutes;
  vSession.requestOpen = true;
}

std::string waitingText() {
  return vSession.requestOpen ? "Asked for " + std::to_string(vSession.requestMinutes) + " minutes - waiting" : "";
}

std::string readOpenRequest(TimeRequest& request) {
  HoursBook book;
  int today = 0;
  std::string why;
  if (!readBook(book, today, why))
    return why;
  const std::string account = currentAccount();
  const TimeRequest* latest = latestRequest(book.requests, account, today);
  if (!latest || latest->state != RequestState::Open)
    return "no request of " + account + " waits for an answer";
  request = *latest;
  return "";
}

void lookAtRequest() {
  HoursBook book;
  int today = 0;
  std::string why;
  if (!readBook(book, today, why))
    return;
  if (const std::string answer = watchRequest(book, currentAccount(), today); !answer.empty())
    vUi.showBalloon(kProductName, answer);
}
