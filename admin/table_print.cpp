#include "admin/table_print.h"

#include <algorithm>
#include <vector>

#include "accounting/log/json_text.h"
#include "accounting/table/table_rules.h"
#include "accounting/table/usage_table.h"
#include "admin/value_checks.h"

// Control bytes from a damaged or hand-made field would move the terminal's cursor.
std::string printable(const std::string& text) {
  std::string result = text;
  for (char& c : result)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      c = '?';
  return result;
}

namespace {
std::string number(const std::string& field) {
  return std::to_string(readNumber(field));
}

// The last counted minute as the log writes times, or "" for a slot never counted.
std::string lastCountedText(const UserRecord& user) {
  if (user.field(kLastHour).empty())
    return "";
  return user.field(kLastDay) + "/" + user.field(kLastMonth) + "/" + user.field(kLastYear) + " " +
         user.field(kLastHour) + ":" + user.field(kLastMinute);
}

std::string lastUsedJson(const UserRecord& user) {
  if (user.field(kLastHour).empty())
    return "null";
  return jsonString(user.field(kLastYear) + "-" + user.field(kLastMonth) + "-" + user.field(kLastDay) + "T" +
                    user.field(kLastHour) + ":" + user.field(kLastMinute));
}

// Rows of cells printed in columns as wide as their widest cell; the columns from "first
// right-aligned" on are numbers and line up on the right.
void printColumns(TextWriter& out, const std::vector<std::vector<std::string>>& rows, std::size_t firstRightAligned) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths.resize(std::max(widths.size(), c + 1));
      widths[c] = std::max(widths[c], row[c].size());
    }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string padding(widths[c] - row[c].size(), ' ');
      line += c >= firstRightAligned ? padding + row[c] : row[c] + padding;
      line += "  ";
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
  }
}

std::string allowancesJson(const std::array<std::string, kDays>& allowances) {
  std::string text = "{";
  for (int day = 1; day <= kDays; ++day)
    text += std::string(day > 1 ? ", " : "") + "\"" + dayName(day) + "\": " + number(allowances[day - 1]);
  return text + "}";
}
}  // namespace

void printTableText(TextWriter& out, const UsageTable& table, const std::string& path, const std::string& password) {
  const char* const passwordText = password == "empty"     ? "not set: anyone can open the administration window"
                                   : password == "default" ? "the installation's default: change it with set-password"
                                                           : "set";
  std::string defaults;
  for (int day = 1; day <= kDays; ++day)
    defaults += std::string(day > 1 ? "  " : "") + dayName(day) + " " + number(table.defaultAllowances[day - 1]);
  printColumns(out,
               {{"Data file:", printable(path)},
                {"Supervisor password:", passwordText},
                {"Allow New Users:", newUsersAllowed(table) ? "yes" : "no"},
                {"Default allowances:", defaults}},
               2);
  out << "\n";

  std::vector<std::vector<std::string>> rows{{"Slot", "Account", "Last used", "Machine", "Left today"}};
  for (int day = 1; day <= kDays; ++day)
    rows[0].push_back(dayName(day));
  for (int slot = 1; slot <= kUserSlots; ++slot) {
    const UserRecord& user = table.user(slot);
    if (user.field(kAccount).empty()) {
      rows.push_back({std::to_string(slot), "(free)"});
      continue;
    }
    rows.push_back({std::to_string(slot), printable(user.field(kAccount)), printable(lastCountedText(user)),
                    printable(user.field(kMachine)), number(user.field(kMinutesLeft))});
    for (int day = 1; day <= kDays; ++day)
      rows.back().push_back(number(user.allowance(day)));
  }
  printColumns(out, rows, 4);
}

void printTableJson(TextWriter& out,
                    const UsageTable& table,
                    const std::string& path,
                    const std::string& password,
                    const std::string& hoursMembers) {
  out << "{\n"
      << "  \"file\": " << jsonString(path) << ",\n"
      << "  \"password\": " << jsonString(password) << ",\n"
      << "  \"allowNewUsers\": " << (newUsersAllowed(table) ? "true" : "false") << ",\n"
      << "  \"defaultAllowances\": " << allowancesJson(table.defaultAllowances) << ",\n"
      << hoursMembers << "  \"slots\": [\n";
  for (int slot = 1; slot <= kUserSlots; ++slot) {
    const UserRecord& user = table.user(slot);
    std::array<std::string, kDays> allowances;
    for (int day = 1; day <= kDays; ++day)
      allowances[day - 1] = user.allowance(day);
    out << "    {\"slot\": " << slot << ", \"free\": " << (user.field(kAccount).empty() ? "true" : "false")
        << ", \"account\": " << jsonString(user.field(kAccount))
        << ", \"minutesLeft\": " << number(user.field(kMinutesLeft)) << ", \"lastUsed\": " << lastUsedJson(user)
        << ", \"machine\": " << jsonString(user.field(kMachine)) << ", \"allowances\": " << allowancesJson(allowances)
        << "}" << (slot < kUserSlots ? "," : "") << "\n";
  }
  out << "  ]\n}\n";
}
