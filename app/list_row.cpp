#include "app/list_row.h"

#include <algorithm>

std::string TypeTextOfClass(int entryClass, const std::string& fileText, const std::string& folderText) {
  switch (entryClass) {
    case 1: return "ASCII";
    case 2: return "BINARY";
    case 3: return fileText;
    default: return folderText;
  }
}

void SortListRows(std::vector<ListRow>& rows, int sortType, bool descending, const TextCase& tc) {
  if (sortType == kNoSorting) return;
  const int key = sortType - kSortByName;
  std::stable_sort(rows.begin(), rows.end(), [&](const ListRow& a, const ListRow& b) {
    return CompareRows(a.texts, b.texts, key, descending, tc) < 0;
  });
}
