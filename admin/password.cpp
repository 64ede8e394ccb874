#include "admin/password.h"

#include "accounting/table/table_rules.h"
#include "admin/terminal.h"

std::string readPasswordLine(TextReader& in, std::string& password) {
  password.clear();
  // Reading stops just past the longest password and its line end: an endless input is refused,
  // not read whole.
  char c = 0;
  while (password.size() < kLongestPassword + 3 && in.get(c))
    password += c;
  if (!password.empty() && password.back() == '\n')
    password.pop_back();
  if (!password.empty() && password.back() == '\r')
    password.pop_back();
  return passwordProblem(password);
}

std::string askPasswordTwice(TextWriter& prompts, std::string& password) {
  std::string again;
  if (!askWithoutEcho(prompts, "New supervisor password: ", password) ||
      !askWithoutEcho(prompts, "The same password again: ", again))
    return "no password was typed";
  if (password != again)
    return "the two passwords differ";
  return passwordProblem(password);
}
