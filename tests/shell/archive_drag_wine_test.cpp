// The extraction behind a drag of archive members, run by our own unlha32.dll: the command
// and response file that the drag builds bring every member out over its placeholder, also
// when the paths are long enough to go into the response file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "archive/archive_command_lines.h"
#include "archive/archive_library_win.h"
#include "shell/archive_extraction.h"
#include "shell/placeholders_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

class ArchiveDragExtraction : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramFolder = program.path();
    const std::string library = testenv::WinePath(::testing::internal::GetArgvs().at(1));
    ASSERT_TRUE(CopyFileA(library.c_str(), (program.path() + "unlha32.dll").c_str(), FALSE)) << library;
    WorkFolder = work.path();
  }

  // An archive in `folder` holding the given files (name and contents).
  std::string MakeArchive(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string source = folder + "source\\";
    CreateDirectoryA(source.c_str(), nullptr);
    const std::string archive = folder + "members.lzh";
    for (const auto& file : files) {
      WriteWholeFile(source + file.first, file.second);
      std::string output;
      int result = -1;
      EXPECT_EQ(RunArchiveCommandWithResult(ArchiveKind::Lha, nullptr, AddFileCommand(archive, source, file.first),
                                            &output, 4096, &result),
                1);
      EXPECT_EQ(result, 0) << output;
    }
    return archive;
  }

  // Builds the drag's extraction, makes the placeholders and runs it; the names that came out.
  std::vector<std::string> Drag(const std::string& archive, const std::vector<ArchiveMember>& members,
                                ArchiveExtraction& extraction) {
    const std::string response = WorkFolder + "res1.tmp";
    EXPECT_TRUE(BuildArchiveExtraction(archive, WorkFolder, response, members, extraction));
    WriteWholeFile(response, extraction.response);
    std::vector<Placeholder> placeholders;
    for (size_t i = 0; i < extraction.placeholders.size(); ++i) {
      Placeholder p;
      p.name = extraction.placeholders[i];
      p.folder = extraction.placeholderIsFolder[i];
      EXPECT_TRUE(MakePlaceholder(WorkFolder, p));
      placeholders.push_back(p);
    }
    std::string output;
    EXPECT_EQ(RunArchiveCommand(ArchiveKind::Lha, nullptr, extraction.command, &output, 4096), 1);
    return ArrivedNames(WorkFolder, placeholders);
  }

  static void WriteWholeFile(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
  }
  static std::string ReadWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string text(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    if (!text.empty()) ReadFile(h, &text[0], static_cast<DWORD>(text.size()), &got, nullptr);
    CloseHandle(h);
    return text;
  }

  TempFolder program, work, place;
};

TEST_F(ArchiveDragExtraction, MembersComeOutOverTheirPlaceholders) {
  const std::string archive =
      MakeArchive(place.path(), {{"a.txt", "first member"}, {"with space.txt", "second member"}});
  ArchiveExtraction extraction;
  const auto arrived = Drag(archive, {{"a.txt", false}, {"with space.txt", false}}, extraction);
  EXPECT_EQ(arrived, (std::vector<std::string>{"a.txt", "with space.txt"}));
  EXPECT_EQ(ReadWholeFile(WorkFolder + "a.txt"), "first member");
  EXPECT_EQ(ReadWholeFile(WorkFolder + "with space.txt"), "second member");
  EXPECT_NE(extraction.command.find(archive), std::string::npos) << "short paths stay in the command";
}

// An archive deep enough that its path and the work folder's no longer fit the command
// text: they travel in the response file, and the members still come out.
TEST_F(ArchiveDragExtraction, LongPathsGoThroughTheResponseFile) {
  std::string folder = place.path();
  for (int i = 0; i < 4; ++i) {
    folder += std::string(45, static_cast<char>('a' + i)) + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  }
  const std::string archive = MakeArchive(folder, {{"deep.txt", "deep member"}});
  ASSERT_GT(archive.size() + WorkFolder.size(), kArchiveCommandRoom);
  ArchiveExtraction extraction;
  const auto arrived = Drag(archive, {{"deep.txt", false}}, extraction);
  EXPECT_EQ(arrived, std::vector<std::string>{"deep.txt"});
  EXPECT_EQ(ReadWholeFile(WorkFolder + "deep.txt"), "deep member");
  EXPECT_LE(extraction.command.size(), kArchiveCommandRoom);
  EXPECT_EQ(extraction.command.find(archive), std::string::npos);
}

}  // namespace
