#include "ftp/remote_folder_listing_win.h"

#include <windows.h>

#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/listing_parser.h"
#include "ftp/remote_rows.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"


bool ListRemoteFolder(const std::string& folder, RemoteFolderView& view, std::vector<std::string>* hidden) {
  RowWords words;
  words.file = LoadResourceText(IDS_TYPE_FILE);
  words.folder = LoadResourceText(IDS_TYPE_FOLDER);
  // A listing cut at its size limit has been reported already and shows what came.
  const bool confirmed = FetchListing() != 0;
  const bool listed = confirmed || ListingWasCut;
  if (!listed) ListingBuffer.clear();
  view.folder = folder;
  view.whole = confirmed && !ListingWasCut;
  const std::vector<ListedEntry> entries = ParseListing(ListingBuffer, ListingClockNow(), hidden);
  ListingBuffer.clear();
  ListingBuffer.shrink_to_fit();

  view.rows.clear();
  view.subFolders.clear();
  view.rows.reserve(entries.size() + 1);
  view.rows.push_back(RemoteParentRow(words));
  EntryClassCache classes(Options, SystemTextCase());
  long n = 0;
  for (const ListedEntry& listed : entries) {
    view.rows.push_back(RemoteRowOfClass(listed, ++n, classes.ClassOf(listed.entry.attributes, listed.entry.name), CurrentHost.TimeLag, words));
    if (listed.entry.attributes & 0x10) view.subFolders.push_back(listed.entry.name);
  }
  return listed;
}
