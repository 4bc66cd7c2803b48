// One row of a file list as it goes into the list view: five column texts, the icon
// index and the key that finds the row again while rows move.
#pragma once
#include <string>
#include <vector>

#include "app/row_compare.h"

struct ListRow {
  RowTexts texts;  // 0 Name, 1 Size, 2 Types, 3 Date, 4 Attributes
  int image = 0;
  long key = 0;
};

// Type column texts of an entry class (0 folder, 1 ASCII, 2 binary, 3 other file,
// 4 parent): "ASCII", "BINARY", the string table's "File", else its "Folder".
std::string TypeTextOfClass(int entryClass, const std::string& fileText, const std::string& folderText);

// Sorts rows as the list views' sort would (sortType 40023-40028; 40028 leaves them as
// they are). Rows that compare equal keep their order.
void SortListRows(std::vector<ListRow>& rows, int sortType, bool descending, const TextCase& tc);
