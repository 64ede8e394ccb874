#pragma once
// The table's fields as cells: a field's number in data-file order with its text, the changes
// between two tables, and cells applied over a table. What the supervisor's windows, the tool and
// the guard hand each other is cells, so that only what changed travels.
#include <string>
#include <vector>

#include "accounting/table/usage_table.h"

// A field in data-file order (1 is the password, 105 slot 6's Saturday allowance) and its text.
struct Cell {
  int field = 0;
  std::string text;
  bool operator==(const Cell&) const = default;
};

// The field number in data-file order of a slot's field.
int tableField(int slot, int userField);
// The cells over the table, each text as the data file will keep it (line 1, a password to hash,
// whole).
void applyCells(UsageTable& table, const std::vector<Cell>& cells);
// The fields from the first one on, as cells.
std::vector<Cell> cellsOf(const UsageTable& table, int firstField);
// The fields in which the two tables differ, as they are in the second.
std::vector<Cell> changedCells(const UsageTable& before, const UsageTable& after);
