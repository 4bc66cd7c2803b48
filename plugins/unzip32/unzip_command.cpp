#include "plugins/unzip32/unzip_command.h"

#include <vector>

#include "plugins/archive_common/command_line.h"
#include "plugins/archive_common/member_path.h"
#include "plugins/unzip32/zip_extract.h"

namespace {

// Names come from the archive; keep control bytes out of the output text.
std::string Printable(const std::string& name) {
  std::string text = name;
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return text;
}

std::string Counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

struct Tally {
  size_t files = 0;
  size_t refused = 0;
  size_t failed = 0;
};

void ExtractFolder(const MemberPath& path, const std::string& folder, ZipFileSystem& files,
                   Tally& tally, OutputText& output) {
  std::string at = folder;
  for (size_t i = 0; i < path.parts.size(); ++i) {
    at = JoinMemberPath(at, MemberPath{true, {path.parts[i]}, false, ""}, files.Separator());
    if (!files.MakeFolder(at)) {
      output.Line("     error: " + Printable(MemberPathText(path)) + "/ (cannot create folder)");
      ++tally.failed;
      return;
    }
  }
  output.Line("  creating: " + Printable(MemberPathText(path)) + "/");
}

void ExtractFile(ZipByteSource& source, const ZipEntry& entry, const MemberPath& path,
                 const std::string& folder, ZipFileSystem& files, Tally& tally,
                 OutputText& output) {
  const std::string shown = Printable(MemberPathText(path));
  std::string error;
  uint64_t data_offset = 0;
  if (!CheckZipEntryData(source, entry, data_offset, error)) {
    output.Line("     error: " + shown + " (" + error + ")");
    ++tally.failed;
    return;
  }
  std::string at = folder;
  for (size_t i = 0; i + 1 < path.parts.size(); ++i) {
    at = JoinMemberPath(at, MemberPath{true, {path.parts[i]}, false, ""}, files.Separator());
    if (!files.MakeFolder(at)) {
      output.Line("     error: " + shown + " (cannot create folder)");
      ++tally.failed;
      return;
    }
  }
  const std::string target = JoinMemberPath(folder, path, files.Separator());
  // Written beside the target and moved over it only once the CRC matched: a damaged
  // member is neither left behind looking good nor allowed to destroy a file already there.
  std::unique_ptr<ZipOutputFile> out = files.CreateOutputFile(at, target);
  if (!out) {
    output.Line("     error: " + shown + " (cannot create file)");
    ++tally.failed;
    return;
  }
  bool ok = ExtractZipEntryData(source, entry, *out, error);
  if (ok && !out->Commit(entry)) {
    ok = false;
    error = "cannot write the file";
  }
  out.reset();  // without Commit this removes the temporary file
  if (!ok) {
    output.Line("     error: " + shown + " (" + error + ")");
    ++tally.failed;
    return;
  }
  output.Line((entry.method == kZipDeflated ? " inflating: " : "extracting: ") + shown);
  ++tally.files;
}

}  // namespace

int ExtractZipArchive(const std::string& archive, const std::string& folder,
                      ZipFileSystem& files, OutputText& output) {
  output.Line("Archive: " + archive);
  std::string error;
  std::unique_ptr<ZipByteSource> source = files.OpenArchive(archive, error);
  if (!source) {
    output.Line("error: " + error);
    return kUnZipFailed;
  }
  std::vector<ZipEntry> entries;
  if (!ReadZipDirectory(*source, entries, error)) {
    output.Line("error: " + error);
    return kUnZipFailed;
  }
  if (!files.MakeFolder(folder)) {
    output.Line("error: cannot create the folder " + folder);
    return kUnZipFailed;
  }
  Tally tally;
  for (const ZipEntry& entry : entries) {
    const MemberPath path = CheckMemberPath(entry.name);
    if (!path.ok) {
      output.Line("   refused: " + Printable(entry.name) + " (" + path.problem + ")");
      ++tally.refused;
      continue;
    }
    if (path.is_folder || IsZipFolderEntry(entry))
      ExtractFolder(path, folder, files, tally, output);
    else
      ExtractFile(*source, entry, path, folder, files, tally, output);
  }
  output.Line(Counted(tally.files, "file", "files") + " extracted, " +
              std::to_string(tally.refused) + " refused, " + std::to_string(tally.failed) +
              " failed");
  return tally.refused || tally.failed ? kUnZipMemberErrors : kUnZipOk;
}

int RunUnZipCommand(const std::string& command_line, ZipFileSystem& files,
                    OutputText& output) {
  const std::vector<std::string> words = SplitCommandLine(command_line);
  if (words.empty()) {
    output.Line("error: empty command line");
    return kUnZipFailed;
  }
  if (words[0] != "-x" && words[0] != "-X") {
    output.Line("error: unknown command " + words[0] + " (use -x \"archive\" \"folder\\\")");
    return kUnZipFailed;
  }
  if (words.size() < 3 || words[1].empty() || words[2].empty()) {
    output.Line("error: -x needs an archive and a destination folder");
    return kUnZipFailed;
  }
  if (words.size() > 3) {
    output.Line("error: unexpected argument " + words[3]);
    return kUnZipFailed;
  }
  return ExtractZipArchive(words[1], words[2], files, output);
}
