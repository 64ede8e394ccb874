#pragma once
// The account name add-user stores: the account's own spelling on this computer, since the
// guard matches a logon's account to the table exactly and Windows lets a supervisor type it in
// any letter case. The lookup is a routine reference that tests replace.
#include <string>

#include "runtime/accounts.h"

// The system's lookup (rt::lookUpAccount) unless a test put another here.
extern rt::Account (*r_lookUpAccount)(const std::string& typed);

// "" with the name to store, or why the typed name is refused. A name that is no account here is
// refused unless forced (an account made later), and is then stored as typed; a group or a
// built-in name is refused even then, since no logon can have it.
std::string storedAccountName(const std::string& typed, bool force, std::string& stored);
