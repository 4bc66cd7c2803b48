// libFuzzer target: the central-directory reader and the member-name check on any bytes.
#include "plugins/archive_common/member_path.h"
#include "plugins/unzip32/zip_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryByteSource source(data, size);
  std::vector<ZipEntry> entries;
  std::string error;
  ReadZipDirectory(source, entries, error);
  for (const ZipEntry& entry : entries) {
    const MemberPath path = CheckMemberPath(entry.name);
    if (path.ok) JoinMemberPath("C:\\out\\", path, '\\');
    IsZipFolderEntry(entry);
    uint64_t at = 0;
    unsigned char first = 0, last = 0;
    // The located data must really be readable.
    if (LocateZipEntryData(source, entry, at, error) && entry.compressed_size > 0 &&
        (!source.ReadAt(at, &first, 1) || !source.ReadAt(at + entry.compressed_size - 1, &last, 1)))
      __builtin_trap();
  }
  return 0;
}
