#pragma once
// What the copy knows of its account's latest request for more time: learnt from the hours read
// each minute and from its own request, it says whether one is waiting (for the tray's menu and
// tooltip) and, once it has been answered, the answer for a balloon from the tray icon.
#include <string>

#include "accounting/hours/time_requests.h"

struct HoursBook;

// The account's latest request of the day (yyyymmdd) as the book holds it, over what the copy
// knew of it. Returns the balloon's text when the copy saw it waiting and it has been approved
// ("Request 3 approved: 30 more minutes today") or refused ("Request 3 refused") since, else "".
std::string watchRequest(const HoursBook& book, const std::string& account, int today);
// The copy's own request, just sent: waiting, for the minutes asked.
void requestSent(int number, int minutes);
// "Asked for 30 minutes - waiting" while the account's request waits, else "".
std::string waitingText();

// The current user's request of today that waits for an answer, read now: "" and the request,
// or why there is none to answer, in a sentence.
std::string readOpenRequest(TimeRequest& request);
// Reads the hours now and shows an answer in a balloon as the minute would: after an answer
// given at this computer, at once.
void lookAtRequest();
