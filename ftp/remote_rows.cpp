#include "ftp/remote_rows.h"

#include "jobs/transfer_rules.h"

ListRow RemoteParentRow(const RowWords& words) {
  ListRow row;
  row.texts.column[0] = "..";
  row.texts.column[1] = kFolderMarker;
  row.texts.column[2] = words.folder;
  row.texts.column[3] = kFolderMarker;
  row.image = ClassParentFolder;
  row.key = kRemoteKeyBase;
  return row;
}

ListRow RemoteRowOf(const ListedEntry& listed, long n, const OptionsRecord& options, const TextCase& tc,
                    long long lagMinutes, const RowWords& words) {
  const RemoteEntry& entry = listed.entry;
  return RemoteRowOfClass(listed, n, ClassifyEntry(entry.attributes, entry.name, options, tc), lagMinutes, words);
}

ListRow RemoteRowOfClass(const ListedEntry& listed, long n, int entryClass, long long lagMinutes,
                         const RowWords& words) {
  ListRow row;
  const RemoteEntry& entry = listed.entry;
  row.texts.column[0] = entry.name;
  row.texts.column[1] = RemoteSizeText(entry);
  row.texts.column[2] = TypeTextOfClass(entryClass, words.file, words.folder);
  row.texts.column[3] = RemoteDateText(listed, lagMinutes);
  row.texts.column[4] = listed.permissions;
  row.image = entryClass;
  row.key = kRemoteKeyBase + n;
  return row;
}
