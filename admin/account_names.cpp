#include "admin/account_names.h"

rt::Account (*r_lookUpAccount)(const std::string& typed) = rt::lookUpAccount;

std::string storedAccountName(const std::string& typed, bool force, std::string& stored) {
  const rt::Account account = r_lookUpAccount(typed);
  switch (account.kind) {
    case rt::AccountKind::User:
      stored = account.name;
      return "";
    case rt::AccountKind::NotUser:
      return "\"" + typed + "\" is a group or a built-in name, not an account that logs on";
    case rt::AccountKind::Unknown:
      break;
  }
  if (!force)
    return "there is no account \"" + typed +
           "\" on this computer; --force adds the name as typed (for an account made later)";
  stored = typed;
  return "";
}
