// The command lines UnZip accepts, run against a file system.
//
//   -x "<archive>" "<folder>\"   extract every member, with its folders, under <folder>
//
// The output text lists each member with what happened to it and ends with a count.
#pragma once
#include <string>

#include "plugins/archive_common/output_text.h"
#include "plugins/unzip32/zip_file_system.h"

enum UnZipResult {
  kUnZipOk = 0,            // every member extracted
  kUnZipMemberErrors = 1,  // some members refused or failed; the others were extracted
  kUnZipFailed = 2         // bad command line, or the archive could not be read at all
};

int RunUnZipCommand(const std::string& command_line, ZipFileSystem& files,
                    OutputText& output);

// Extracts every member of the archive under `folder`, which is created when missing.
int ExtractZipArchive(const std::string& archive, const std::string& folder,
                      ZipFileSystem& files, OutputText& output);
