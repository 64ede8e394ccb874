#pragma once
// What the guard itself changes for an account in the table it keeps: the minutes it charges on
// its own clock, and the slot of an account it admits. Both save at once and log under the account.
#include <string>

#include "accounting/guard_link/guard_protocol.h"
#include "guard/table_keeper.h"

// Charges the account's slot that many minutes by the core's rule, on the guard's clock and
// computer name, and saves. Logs a new day's allowance, a clock moved back (once per move) and
// the minute that left the account none. False when the account has no slot or the table could
// not be saved; the table is then as it was.
bool chargeAccount(TableKeeper& keeper, const std::string& account, int minutes);

// Gives the account the first free slot with the default allowances, when new users are allowed,
// saves, and logs "Found one - NN". Refusal::None and the slot, also for an account that has one.
Refusal admitAccount(TableKeeper& keeper, const std::string& account, const std::string& machine, int& slot);
