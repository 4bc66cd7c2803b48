// Rows of the two file lists: the list views are the store of both folders' contents,
// so rows are written, read back and sorted here.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/list_row.h"

// Inserts the row at the position with its icon and key, then its other four texts.
// The row's index, or -1 when the list refused it.
int InsertListRow(HWND list, int position, const ListRow& row);

// Makes the list hold exactly these rows, in this order, none selected, scrolled to the
// top. `refused` is called for each row the list would not take (those rows are left out).
// Rows the list already has are written over rather than deleted and made again: a list
// view of the platform deletes its items in time that grows with the square of their
// number. Redrawing is paused only while rows come or go (see FillListRows).
void FillListRows(HWND list, const std::vector<ListRow>& rows, void (*refused)());

// Sorts rows for a list as SortListRows does with the system's case rules (sortType
// 40023-40027; 40028 leaves them as they are).
void SortRowsForList(std::vector<ListRow>& rows, int sortType, bool descending);

int ListRowCount(HWND list);
std::string ListRowText(HWND list, int row, int column);
long ListRowKey(HWND list, int row);
void SetListRowText(HWND list, int row, int column, const std::string& text);
bool IsFolderRow(HWND list, int row);  // its Size text is the folder marker

// The first row whose state has the focused bit, or -1.
int FindFocusedRow(HWND list);

// Sorts the list by the column of sortType (40023-40027; 40028 leaves it alone), in
// the pane's direction.
void SortListView(HWND list, int sortType, bool descending);
