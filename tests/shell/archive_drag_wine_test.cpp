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

using Files = std::vector<std::pair<std::string, std::string>>;  // name, contents

class ArchiveDragExtraction : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramFolder = program.path();
    const std::string library = testenv::WinePath(::testing::internal::GetArgvs().at(1));
    ASSERT_TRUE(CopyFileA(library.c_str(), (program.path() + "unlha32.dll").c_str(), FALSE)) << library;
    WorkFolder = work.path();
  }

  // Makes an archive of `files` in `folder`, drags all its members out as the drag does (the
  // extraction built, placeholders made, the command run) and checks what came out.
  ArchiveExtraction DragOut(const std::string& folder, const Files& files) {
    const std::string source = folder + "source\\", archive = folder + "members.lzh";
    CreateDirectoryA(source.c_str(), nullptr);
    std::vector<ArchiveMember> members;
    std::vector<std::string> names;
    for (const auto& [name, contents] : files) {
      WriteWholeFile(source + name, contents);
      std::string output;
      int result = -1;
      EXPECT_EQ(RunArchiveCommandWithResult(ArchiveKind::Lha, nullptr, AddFileCommand(archive, source, name), &output,
                                            4096, &result),
                1);
      EXPECT_EQ(result, 0) << output;
      members.push_back({name, false});
      names.push_back(name);
    }
    ArchiveExtraction extraction;
    const std::string response = WorkFolder + "res1.tmp";
    EXPECT_TRUE(BuildArchiveExtraction(archive, WorkFolder, response, members, extraction));
    WriteWholeFile(response, extraction.response);
    std::vector<Placeholder> placeholders;
    for (size_t i = 0; i < extraction.placeholders.size(); ++i) {
      placeholders.push_back({extraction.placeholders[i], extraction.placeholderIsFolder[i]});
      EXPECT_TRUE(MakePlaceholder(WorkFolder, placeholders.back()));
    }
    std::string output;
    EXPECT_EQ(RunArchiveCommand(ArchiveKind::Lha, nullptr, extraction.command, &output, 4096), 1);
    EXPECT_EQ(ArrivedNames(WorkFolder, placeholders), names);
    for (const auto& [name, contents] : files) EXPECT_EQ(ReadWholeFile(WorkFolder + name), contents) << name;
    // Short paths stay in the command, paths longer than its room go into the response file.
    EXPECT_EQ(extraction.command.find(archive) == std::string::npos,
              archive.size() + WorkFolder.size() > kArchiveCommandRoom);
    return extraction;
  }

  TempFolder program, work, place;
};

TEST_F(ArchiveDragExtraction, MembersComeOutOverTheirPlaceholdersWithShortAndLongPaths) {
  DragOut(place.path(), {{"a.txt", "first member"}, {"with space.txt", "second member"}});
  std::string folder = place.path();
  for (int i = 0; i < 4; ++i) {
    folder += std::string(45, static_cast<char>('a' + i)) + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  }
  ASSERT_GT(folder.size() + work.path().size(), kArchiveCommandRoom);
  EXPECT_LE(DragOut(folder, {{"deep.txt", "deep member"}}).command.size(), kArchiveCommandRoom);
}

}  // namespace
