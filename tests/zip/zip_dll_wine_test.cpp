// unzip32.dll as the program uses it: loaded by name, UnZip looked up, and real archives
// made by Debian's zip extracted under code page 932 into the very files they came from.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "zip/zip_builder.h"

namespace {

typedef int(WINAPI* UnZipFunction)(HWND, LPCSTR, LPSTR, DWORD);

std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string BinaryDir() {
  const char* dir = std::getenv("VAKO_BINARY_DIR");
  return dir ? WindowsPath(dir) : std::string();
}

std::string ReadWholeFile(const std::string& path) {
  std::string data;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
  CloseHandle(file);
  return data;
}

void WriteWholeFile(const std::string& path, const std::string& data) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD done = 0;
  WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
  CloseHandle(file);
}

// Relative name (backslashes, ANSI code page) to contents, "<folder>" for folders.
void ReadTree(const std::string& root, const std::string& relative,
              std::map<std::string, std::string>& tree) {
  WIN32_FIND_DATAA found;
  const std::string here = relative.empty() ? root : root + "\\" + relative;
  HANDLE find = FindFirstFileA((here + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::pair<std::string, bool>> items;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..")
      items.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find, &found));
  FindClose(find);
  for (const auto& item : items) {
    const std::string rel = relative.empty() ? item.first : relative + "\\" + item.first;
    if (item.second) {
      tree[rel] = "<folder>";
      ReadTree(root, rel, tree);
    } else {
      tree[rel] = ReadWholeFile(root + "\\" + rel);
    }
  }
}

void RemoveTree(const std::string& root) {
  std::map<std::string, std::string> tree;
  ReadTree(root, "", tree);
  for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
    const std::string path = root + "\\" + it->first;
    if (it->second == "<folder>") {
      RemoveDirectoryA(path.c_str());
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only files resist
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(root.c_str());
}

struct UnZipDllTest : ::testing::Test {
  HMODULE library = nullptr;
  UnZipFunction unzip = nullptr;
  std::string samples = BinaryDir() + "\\tests\\zip\\samples";
  std::string scratch;

  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the test runs in the Japanese prefix";
    // By name, from the program's folder, as the program loads it.
    ASSERT_TRUE(SetDllDirectoryA((BinaryDir() + "\\bin").c_str()));
    library = LoadLibraryA("unzip32.dll");
    ASSERT_NE(library, nullptr);
    unzip = reinterpret_cast<UnZipFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "UnZip")));
    ASSERT_NE(unzip, nullptr);
    scratch = BinaryDir() + "\\tests\\zip\\wine-scratch-" + std::to_string(GetCurrentProcessId());
    RemoveTree(scratch);
    ASSERT_TRUE(CreateDirectoryA(scratch.c_str(), nullptr));
  }
  void TearDown() override {
    RemoveTree(scratch);
    if (library) FreeLibrary(library);
  }
  // The command line exactly as the program's test extract forms it.
  int Extract(const std::string& archive, const std::string& folder, std::string& text) {
    std::vector<char> output(2048, '\0');
    const std::string line = "-x \"" + archive + "\" \"" + folder + "\\\"";
    const int result = unzip(nullptr, line.c_str(), output.data(), 2047);
    text = output.data();
    return result;
  }
};

TEST_F(UnZipDllTest, ExtractsArchivesMadeByZipIdentically) {
  std::map<std::string, std::string> expected;
  ReadTree(samples + "\\expect", "", expected);
  ASSERT_EQ(expected.size(), 10u);
  ASSERT_EQ(expected.count("\x95\x5c.txt"), 1u) << "sample names arrive in Shift-JIS";
  for (const char* name : {"deflated", "stored"}) {
    SCOPED_TRACE(name);
    const std::string folder = scratch + "\\" + name;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));  // as the program does
    std::string text;
    EXPECT_EQ(Extract(samples + "\\" + name + ".zip", folder, text), 0) << text;
    std::map<std::string, std::string> actual;
    ReadTree(folder, "", actual);
    EXPECT_EQ(actual.size(), expected.size()) << text;
    for (const auto& item : expected) {
      auto found = actual.find(item.first);
      ASSERT_NE(found, actual.end()) << item.first << "\n" << text;
      EXPECT_TRUE(found->second == item.second) << item.first;
    }
  }
}

// Extracting over files changed since an earlier extraction replaces them all.
TEST_F(UnZipDllTest, ReplacesExistingFilesWithTheMembers) {
  std::map<std::string, std::string> expected;
  ReadTree(samples + "\\expect", "", expected);
  const std::string folder = scratch + "\\out";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder + "\\docs").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder + "\\docs\\guide").c_str(), nullptr));
  WriteWholeFile(folder + "\\readme.txt", std::string(100000, 'r'));  // longer
  WriteWholeFile(folder + "\\docs\\guide\\nested.txt", "old");      // shorter
  WriteWholeFile(folder + "\\empty.txt", "was not empty");
  std::string text;
  EXPECT_EQ(Extract(samples + "\\deflated.zip", folder, text), 0) << text;
  std::map<std::string, std::string> actual;
  ReadTree(folder, "", actual);
  EXPECT_TRUE(actual == expected) << text;
}

// A member that cannot be extracted leaves the file already there exactly as it was, and
// no temporary file behind.
TEST_F(UnZipDllTest, FailedMembersLeaveExistingFilesUntouched) {
  const std::string data(200000, 'x');
  ZipBuilder zip;
  zip.AddStored("locked.txt", "secret").flags = 1;
  zip.AddStored("bzip2.txt", "data").method = 12;
  zip.AddDeflated("crc.txt", data).crc32 ^= 1;
  BuiltMember& cut = zip.AddDeflated("cut.txt", data);
  cut.payload.resize(cut.payload.size() / 2);
  cut.compressed_size = static_cast<uint32_t>(cut.payload.size());
  zip.AddStored("good.txt", "new");
  zip.AddStored("past.txt", "pppp");
  zip.AddStored("readonly.txt", "new");  // the user protected it
  std::string bytes = zip.Build();
  // The directory says past.txt holds 1000 bytes, more than the archive has left.
  const size_t central = bytes.rfind("past.txt") - 46;
  bytes[central + 20] = bytes[central + 24] = '\xE8';
  bytes[central + 21] = bytes[central + 25] = '\x03';
  const std::string archive = scratch + "\\damaged.zip";
  WriteWholeFile(archive, bytes);

  const std::string folder = scratch + "\\out";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  std::map<std::string, std::string> expected;
  for (const char* name : {"locked.txt", "bzip2.txt", "crc.txt", "cut.txt", "good.txt",
                           "past.txt", "readonly.txt"}) {
    expected[name] = std::string("the user's own ") + name + std::string(3000, '!');
    WriteWholeFile(folder + "\\" + name, expected[name]);
  }
  ASSERT_TRUE(SetFileAttributesA((folder + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  expected["good.txt"] = "new";
  std::string text;
  EXPECT_EQ(Extract(archive, folder, text), 1) << text;
  EXPECT_NE(text.find("1 file extracted, 0 refused, 6 failed"), std::string::npos) << text;
  EXPECT_NE(text.find("     error: readonly.txt (cannot create file)\r\n"), std::string::npos)
      << text;
  std::map<std::string, std::string> actual;
  ReadTree(folder, "", actual);
  EXPECT_TRUE(actual == expected) << text;

  // The replacement carries the member's date, 1999-03-07.
  HANDLE file = CreateFileA((folder + "\\good.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME written;
  SYSTEMTIME stamp;
  ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &written));
  CloseHandle(file);
  ASSERT_TRUE(FileTimeToSystemTime(&written, &stamp));
  EXPECT_EQ(stamp.wYear, 1999);
  EXPECT_EQ(stamp.wMonth, 3);
}

TEST_F(UnZipDllTest, RefusesNamesThatLeaveTheFolderAndRespectsTheBufferSize) {
  ZipBuilder zip;
  zip.AddStored("..\\evil.txt", "evil");
  zip.AddStored("C:evil.txt", "evil");
  zip.AddStored("\\evil.txt", "evil");
  zip.AddStored("sub/.. /.. /evil.txt", "evil");
  zip.AddStored("aux", "evil");
  zip.AddStored("\x95\\..\\evil.txt", "evil");
  zip.AddDeflated("\x83\\\x83t\x83g\\ok.txt", "ok");
  const std::string archive = scratch + "\\hostile.zip";
  WriteWholeFile(archive, zip.Build());
  const std::string folder = scratch + "\\out";
  std::string text;
  EXPECT_EQ(Extract(archive, folder, text), 1) << text;
  EXPECT_NE(text.find("1 file extracted, 6 refused, 0 failed"), std::string::npos) << text;
  std::map<std::string, std::string> tree;
  ReadTree(scratch, "", tree);
  const std::map<std::string, std::string> wanted = {
      {"hostile.zip", zip.Build()},
      {"out", "<folder>"},
      {"out\\\x83\\\x83t\x83g", "<folder>"},
      {"out\\\x83\\\x83t\x83g\\ok.txt", "ok"},
  };
  EXPECT_TRUE(tree == wanted) << text;

  // The member's MS-DOS stamp is local time: 1999-03-07 10:00:00.
  HANDLE file = CreateFileA((folder + "\\\x83\\\x83t\x83g\\ok.txt").c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME written, local;
  SYSTEMTIME stamp;
  ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &written));
  CloseHandle(file);
  ASSERT_TRUE(FileTimeToLocalFileTime(&written, &local));
  ASSERT_TRUE(FileTimeToSystemTime(&local, &stamp));
  EXPECT_EQ(stamp.wYear, 1999);
  EXPECT_EQ(stamp.wMonth, 3);
  EXPECT_EQ(stamp.wDay, 7);
  EXPECT_EQ(stamp.wHour, 10);
  EXPECT_EQ(stamp.wMinute, 0);

  // A tiny buffer: what fits, terminated, and not one byte more.
  std::vector<char> output(64, '\x5A');
  const std::string line = "-x \"" + archive + "\" \"" + folder + "\\\"";
  EXPECT_EQ(unzip(nullptr, line.c_str(), output.data(), 16), 1);
  EXPECT_EQ(std::string(output.data()).size(), 15u);
  for (size_t i = 16; i < output.size(); ++i) ASSERT_EQ(output[i], '\x5A') << i;
  EXPECT_EQ(unzip(nullptr, nullptr, output.data(), 16), 2);
  EXPECT_EQ(unzip(nullptr, "-x", nullptr, 0), 2);
}

}  // namespace
