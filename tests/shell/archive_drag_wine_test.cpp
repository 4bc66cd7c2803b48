// The extraction behind a drag of archive members, run by our own unlha32.dll: the command
// and response file that the drag builds bring every member out over its placeholder, also
// when the paths are long enough to go into the response file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
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
  // Just deep enough for the paths to outgrow the command, however long the temp folder's
  // path is: a folder path of more than 247 bytes cannot be made.
  std::string folder = place.path();
  while (folder.size() + work.path().size() <= kArchiveCommandRoom) {
    const size_t missing = kArchiveCommandRoom - folder.size() - work.path().size();
    folder += std::string(std::min<size_t>(missing + 1, 45), 'd') + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
  }
  EXPECT_LE(DragOut(folder, {{"deep.txt", "deep member"}}).command.size(), kArchiveCommandRoom);
}

// A placeholder is made only inside its folder, as the system reads the name (FD 5C is one
// character to our lead-byte rule but a byte and a backslash to the code page), and nothing
// already there is removed for it.
TEST_F(ArchiveDragExtraction, PlaceholdersOfNamesReachingOutTouchNothing) {
  const std::string drag = work.path() + "drag\\";
  ASSERT_TRUE(CreateDirectoryA(drag.c_str(), nullptr));
  WriteWholeFile(work.path() + "ftplog.txt", "log");
  WriteWholeFile(drag + "kept.txt", "kept");
  ASSERT_TRUE(CreateDirectoryA((drag + "full").c_str(), nullptr));
  WriteWholeFile(drag + "full\\in.txt", "in");
  for (const std::string name : {"\xFD\\..", "..", "\\placed.txt", "C:placed.txt", "C:\\placed.txt",
                                 "full\\..\\..\\placed.txt", "full", "kept.txt"})
    for (bool folder : {false, true}) {
      Placeholder placeholder{name, folder};
      EXPECT_FALSE(MakePlaceholder(drag, placeholder)) << name << folder;
    }
  EXPECT_EQ(ReadWholeFile(work.path() + "ftplog.txt"), "log");
  EXPECT_EQ(ReadWholeFile(drag + "kept.txt"), "kept");
  EXPECT_EQ(ReadWholeFile(drag + "full\\in.txt"), "in");
  EXPECT_FALSE(FileExists(work.path() + "placed.txt"));
  EXPECT_FALSE(FileExists("C:\\placed.txt"));
}

}  // namespace
