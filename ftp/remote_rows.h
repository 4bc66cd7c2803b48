// The rows of the remote file list made from the parsed entries of a listing.
#pragma once
#include <string>

#include "app/list_row.h"
#include "app/local_rows.h"
#include "app/text_case.h"
#include "config/options.h"
#include "ftp/listing_parser.h"

constexpr long kRemoteKeyBase = 3000;  // the parent row's key; entry n has 3000 + n

// The parent row "..": image 4, key 3000.
ListRow RemoteParentRow(const RowWords& words);

// Entry number n (1, 2, ...): image and type by the entry's class, the date moved by the
// host's time lag, the permission word as listed.
ListRow RemoteRowOf(const ListedEntry& listed, long n, const OptionsRecord& options, const TextCase& tc,
                    long long lagMinutes, const RowWords& words);

// The same with the entry's class already known (ClassifyEntry).
ListRow RemoteRowOfClass(const ListedEntry& listed, long n, int entryClass, long long lagMinutes,
                         const RowWords& words);

