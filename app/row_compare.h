// The order of the file lists' rows: the parent row ".." always first, then folders first
// (but for the Size key), sizes as numbers, the name as tie-break for sizes and types, one
// direction flag per pane.
#pragma once
#include <string>
#include <vector>

#include "app/text_case.h"

// The five column texts of a list row: 0 Name, 1 Size, 2 Types, 3 Date, 4 Attributes.
struct RowTexts {
  std::string column[5];
};

constexpr int kSortByName = 40023;
constexpr int kNoSorting = 40028;  // "No Sorting": the list is left as filled

// Negative, 0 or positive as row a goes before, with, or after row b for the sort key
// (a column index 0-4); descending reverses the answer.
int CompareRows(const RowTexts& a, const RowTexts& b, int sortKey, bool descending,
                const TextCase& tc);

// Sorts rows as the list views do with CompareRows; rows that compare equal keep their
// order. A sortType of 40028 leaves the rows alone.
void SortRows(std::vector<RowTexts>& rows, int sortType, bool descending, const TextCase& tc);
