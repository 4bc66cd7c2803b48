#include "app/row_compare.h"

#include <algorithm>

#include "jobs/transfer_rules.h"

namespace {

bool IsFolderRow(const RowTexts& row) { return !row.column[1].empty() && row.column[1][0] == ' '; }

// The parent row ".." leads the list whatever the key and the direction: it is where the user
// goes up, not one of the folder's entries.
bool IsParentRow(const RowTexts& row) { return row.column[0] == ".." && IsFolderRow(row); }

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

int CompareRows(const RowTexts& a, const RowTexts& b, int sortKey, bool descending,
                const TextCase& tc) {
  if (sortKey < 0 || sortKey > 4) sortKey = 0;
  const bool parentA = IsParentRow(a), parentB = IsParentRow(b);
  if (parentA || parentB) return parentB - parentA;
  int r = Sign(tc.compare(a.column[sortKey].c_str(), b.column[sortKey].c_str()));
  if (sortKey == 1) {
    // Sizes are 64-bit; the answer is their sign, never a difference that could wrap.
    int64_t x = SizeTextValue(a.column[1]), y = SizeTextValue(b.column[1]);
    r = x == y ? Sign(tc.compare(a.column[0].c_str(), b.column[0].c_str())) : (x < y ? -1 : 1);
  } else {
    bool folderA = IsFolderRow(a), folderB = IsFolderRow(b);
    if (!folderA && folderB) r = 1;
    else if (folderA && !folderB) r = -1;
    else if (r == 0 && sortKey == 2) r = Sign(tc.compare(a.column[0].c_str(), b.column[0].c_str()));
  }
  return descending ? -r : r;
}

void SortRows(std::vector<RowTexts>& rows, int sortType, bool descending, const TextCase& tc) {
  if (sortType == kNoSorting) return;
  int key = sortType - kSortByName;
  std::stable_sort(rows.begin(), rows.end(), [&](const RowTexts& a, const RowTexts& b) {
    return CompareRows(a, b, key, descending, tc) < 0;
  });
}
