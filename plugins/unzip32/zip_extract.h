// Unpacking one member's data: stored or deflated, checked against its size and CRC-32.
#pragma once
#include <string>

#include "plugins/unzip32/zip_byte_source.h"
#include "plugins/unzip32/zip_directory.h"
#include "plugins/unzip32/zip_file_system.h"

// What the headers alone tell, so nothing is written for a member that cannot be
// extracted: false, with the reason in `error`, when it is encrypted, uses another method,
// is stored with two different sizes, or its data does not lie inside the archive.
// Otherwise `data_offset` is where its data starts.
bool CheckZipEntryData(ZipByteSource& source, const ZipEntry& entry, uint64_t& data_offset,
                       std::string& error);

// Writes the member's data into `out`. False, with a short English reason in `error`,
// when the data is damaged, truncated, of another size or CRC than recorded, uses a
// method other than stored or deflated, is encrypted, or cannot be written.
bool ExtractZipEntryData(ZipByteSource& source, const ZipEntry& entry, ZipOutputFile& out,
                         std::string& error);
