#include "accounting/table/usage_table.h"

#include <climits>

UsageTable vTable;
Session vSession;

void InstallDefaults() {
  vTable = UsageTable{};
  vTable.password = kDefaultPassword;
  vTable.defaultAllowances = {"20", "10", "30", "10", "5", "10", "10"};
  vTable.options.fill("0");
}

void resetSession() {
  vSession = Session{};
}

namespace {
template <typename Table, typename Field>
std::vector<Field*> collectFields(Table& table) {
  std::vector<Field*> fields;
  fields.reserve(kTableFields);
  fields.push_back(&table.password);
  for (auto& f : table.defaultAllowances)
    fields.push_back(&f);
  for (auto& f : table.options)
    fields.push_back(&f);
  for (auto& user : table.users)
    for (auto& f : user.fields)
      fields.push_back(&f);
  return fields;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
}  // namespace

std::vector<std::string*> fieldsInFileOrder(UsageTable& table) {
  return collectFields<UsageTable, std::string>(table);
}

std::vector<const std::string*> fieldsInFileOrder(const UsageTable& table) {
  return collectFields<const UsageTable, const std::string>(table);
}

char storable(char c) {
  return static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
}

std::string storableText(std::string text) {
  for (char& c : text)
    c = storable(c);
  return text;
}

int readNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX)
      value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative)
    value = -value;
  if (value > INT_MAX)
    return INT_MAX;
  if (value < INT_MIN)
    return INT_MIN;
  return static_cast<int>(value);
}

std::string MinutesText(std::string_view text) {
  return std::to_string(readNumber(text));
}
