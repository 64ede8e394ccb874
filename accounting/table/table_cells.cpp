#include "accounting/table/table_cells.h"

int tableField(int slot, int userField) {
  return 1 + kDays + kOptions + (slot - 1) * kUserFields + userField;
}

void applyCells(UsageTable& table, const std::vector<Cell>& cells) {
  const std::vector<std::string*> fields = fieldsInFileOrder(table);
  for (const Cell& cell : cells)
    if (cell.field >= 1 && cell.field <= kTableFields)
      *fields[cell.field - 1] = cell.field == 1 ? cell.text : storableText(cell.text);
}

std::vector<Cell> cellsOf(const UsageTable& table, int firstField) {
  const std::vector<const std::string*> fields = fieldsInFileOrder(table);
  std::vector<Cell> cells;
  for (int field = firstField; field <= kTableFields; ++field)
    cells.push_back({field, *fields[field - 1]});
  return cells;
}

std::vector<Cell> changedCells(const UsageTable& before, const UsageTable& after) {
  const std::vector<const std::string*> old = fieldsInFileOrder(before);
  const std::vector<const std::string*> now = fieldsInFileOrder(after);
  std::vector<Cell> cells;
  for (int field = 1; field <= kTableFields; ++field)
    if (*old[field - 1] != *now[field - 1])
      cells.push_back({field, *now[field - 1]});
  return cells;
}
