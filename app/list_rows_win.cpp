#include "app/list_rows_win.h"

#include <algorithm>
#include <unordered_map>

#include "app/system_text_case_win.h"
#include "ftp/listing_parser.h"

int InsertListRow(HWND list, int position, const ListRow& row) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = position;
  item.pszText = const_cast<char*>(row.texts.column[0].c_str());
  item.iImage = row.image;
  item.lParam = row.key;
  int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return -1;
  for (int column = 1; column < 5; ++column) SetListRowText(list, index, column, row.texts.column[column]);
  return index;
}

static bool WriteListRow(HWND list, int index, const ListRow& row) {
  LVITEMA item{};
  // The row written over loses its selection and marks, as a new row has none.
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED;
  item.iItem = index;
  item.pszText = const_cast<char*>(row.texts.column[0].c_str());
  item.iImage = row.image;
  item.lParam = row.key;
  if (!SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return false;
  for (int column = 1; column < 5; ++column) SetListRowText(list, index, column, row.texts.column[column]);
  return true;
}

namespace {

// A row added or deleted while the list draws itself costs a repaint of its own (several
// milliseconds each under Wine), so redrawing is off while rows come or go. Turning it
// back on costs a whole repaint and more, so rows written over in place, as when a job
// walks folders of one size, keep it on.
class RedrawPause {
 public:
  RedrawPause(HWND list, bool wanted) : list_(wanted ? list : nullptr) {
    if (list_) SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPause() {
    if (!list_) return;
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND list_;
};

}  // namespace

void FillListRows(HWND list, const std::vector<ListRow>& rows, void (*refused)()) {
  int have = ListRowCount(list);
  RedrawPause pause(list, have != static_cast<int>(rows.size()));
  if (rows.empty() || have > static_cast<int>(rows.size()) * 2) {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    have = 0;
  }
  for (; have > static_cast<int>(rows.size()); --have) SendMessageA(list, LVM_DELETEITEM, have - 1, 0);
  // Room for every row at once instead of growing row by row.
  if (have < static_cast<int>(rows.size())) SendMessageA(list, LVM_SETITEMCOUNT, rows.size(), LVSICF_NOSCROLL);
  int placed = 0;
  for (const ListRow& row : rows) {
    bool ok = placed < have ? WriteListRow(list, placed, row) : InsertListRow(list, placed, row) >= 0;
    if (ok) {
      ++placed;
    } else if (refused) {
      refused();
    }
  }
  for (int index = ListRowCount(list) - 1; index >= placed; --index) SendMessageA(list, LVM_DELETEITEM, index, 0);
  SendMessageA(list, LVM_SETSELECTIONMARK, 0, -1);
  if (placed > 0) SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
}

namespace {

// The texts a comparison of the sort key reads, with those compared as text replaced by
// their sort keys; the Size text stays as it is (its number and folder marker count).
RowTexts PreparedTexts(const RowTexts& texts, int sortKey) {
  RowTexts prepared;
  prepared.column[0] = SystemSortKey(texts.column[0]);
  prepared.column[1] = texts.column[1];
  if (sortKey > 1) prepared.column[sortKey] = SystemSortKey(texts.column[sortKey]);
  return prepared;
}

}  // namespace

void SortRowsForList(std::vector<ListRow>& rows, int sortType, bool descending) {
  if (sortType < kSortByName || sortType >= kNoSorting) return;
  const int sortKey = sortType - kSortByName;
  std::vector<std::pair<RowTexts, size_t>> prepared;
  prepared.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) prepared.emplace_back(PreparedTexts(rows[i].texts, sortKey), i);
  std::stable_sort(prepared.begin(), prepared.end(), [&](const auto& a, const auto& b) {
    return CompareRows(a.first, b.first, sortKey, descending, SortKeyOrder()) < 0;
  });
  std::vector<ListRow> sorted;
  sorted.reserve(rows.size());
  for (const auto& p : prepared) sorted.push_back(std::move(rows[p.second]));
  rows.swap(sorted);
}

int ListRowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string ListRowText(HWND list, int row, int column) {
  // The list hands out at most the room it is given: grow until the text fits.
  std::vector<char> buffer(264);
  for (;;) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    int length = static_cast<int>(SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
    if (length < static_cast<int>(buffer.size()) - 1 || buffer.size() >= 65536) {
      return std::string(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
    }
    buffer.resize(buffer.size() * 4);
  }
}

long ListRowKey(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return static_cast<long>(item.lParam);
}

void SetListRowText(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

bool IsFolderRow(HWND list, int row) { return ListRowText(list, row, 1) == kFolderMarker; }

int FindFocusedRow(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

namespace {

// The texts the comparison needs, read once per row before the sort: the list view's
// own sort hands only the keys to the comparison.
struct SortContext {
  std::unordered_map<long, RowTexts> rows;
  int sortKey;
  bool descending;
};

int CALLBACK CompareByKeys(LPARAM first, LPARAM second, LPARAM data) {
  const SortContext& context = *reinterpret_cast<const SortContext*>(data);
  auto a = context.rows.find(static_cast<long>(first));
  auto b = context.rows.find(static_cast<long>(second));
  if (a == context.rows.end() || b == context.rows.end()) return 0;
  return CompareRows(a->second, b->second, context.sortKey, context.descending, SortKeyOrder());
}

}  // namespace

void SortListView(HWND list, int sortType, bool descending) {
  if (sortType == kNoSorting || sortType < kSortByName || sortType > kNoSorting) return;
  SortContext context;
  context.sortKey = sortType - kSortByName;
  context.descending = descending;
  const int count = ListRowCount(list);
  context.rows.reserve(static_cast<size_t>(count));
  for (int row = 0; row < count; ++row) {
    RowTexts texts;
    texts.column[0] = ListRowText(list, row, 0);
    texts.column[1] = ListRowText(list, row, 1);
    if (context.sortKey > 1) texts.column[context.sortKey] = ListRowText(list, row, context.sortKey);
    context.rows[ListRowKey(list, row)] = PreparedTexts(texts, context.sortKey);
  }
  SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(CompareByKeys));
}
