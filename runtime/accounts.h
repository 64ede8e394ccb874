#pragma once
// The accounts of this computer: a typed name looked up as Windows resolves logons, giving the
// account's own spelling and whether it is a user account at all. Only Windows has them.
#include <string>

namespace rt {

enum class AccountKind {
  User,     // an account that can log on
  NotUser,  // a group, a built-in name, a domain or a computer
  Unknown,  // no account of that name here
};

struct Account {
  AccountKind kind = AccountKind::Unknown;
  std::string name;  // as the account spells it, without its domain; empty when unknown
};

// Looks the name (or DOMAIN\name) up. Windows matches names in any letter case; the name given
// back is the account's own.
Account lookUpAccount(const std::string& typed);

}  // namespace rt
