// unzip32.dll as the program uses it: loaded by name from the program's folder, extracting
// under code page 932 through real Win32 file calls. (End to end, the program's Test Extract
// checks an archive made by Debian's zip.)
#include "support/program_fixture_win.h"
#include "zip/zip_builder.h"

namespace {

// "name=contents" of a file, "name/" of a folder (names in the ANSI code page).
std::string Entry(const std::string& path, const std::string* data) { return data ? path + "=" + *data : path; }

// A member that cannot be extracted leaves the file already there as it was, and no
// temporary file; good members replace theirs, Shift-JIS folders included, and carry the
// member's local date. The caller's buffer size is kept.
TEST(UnZipDll, FailedMembersLeaveExistingFilesUntouched) {
  ASSERT_EQ(GetACP(), 932u) << "the test runs in the Japanese prefix";
  ASSERT_TRUE(SetDllDirectoryA((testenv::WinePath(testenv::Get("VAKO_BINARY_DIR")) + "\\bin").c_str()));
  HMODULE library = LoadLibraryA("unzip32.dll");  // by name, as the program loads it
  const auto unzip = reinterpret_cast<int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD)>(reinterpret_cast<void*>(GetProcAddress(library, "UnZip")));
  ASSERT_NE(unzip, nullptr);
  const std::string data(200000, 'x');
  // Failures while writing; those found before a file is opened are the native tests'.
  std::vector<BuiltMember> members = {Member("crc.txt", data, true), Member("cut.txt", data, true), Member("good.txt", "new"),
                                      Member("readonly.txt", "new"), Member("\x83\\\x83t\x83g\\ok.txt", "ok", true)};
  members[0].crc32 ^= 1;
  members[1].payload.resize(members[1].payload.size() / 2);
  members[1].compressed_size = static_cast<uint32_t>(members[1].payload.size());
  TempFolder scratch;
  const std::string folder = scratch.path() + "out", line = "-x \"" + scratch.path() + "damaged.zip\" \"" + folder + "\\\"";
  WriteWholeFile(scratch.path() + "damaged.zip", BuildZip(members));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  Lines expected = {"good.txt=new", "\x83\\\x83t\x83g/", "\x83\\\x83t\x83g/ok.txt=ok"};
  for (const std::string name : {"crc.txt", "cut.txt", "good.txt", "readonly.txt"}) {
    const std::string own = "the user's own " + name + std::string(3000, '!');
    WriteWholeFile(folder + "\\" + name, own);
    if (name != "good.txt") expected.push_back(name + "=" + own);
  }
  ASSERT_TRUE(SetFileAttributesA((folder + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  std::vector<char> output(2048, '\x5A');
  EXPECT_EQ(unzip(nullptr, line.c_str(), output.data(), 2047), 1) << output.data();
  const std::string text = output.data();
  EXPECT_NE(text.find("2 files extracted, 0 refused, 3 failed"), std::string::npos) << text;
  EXPECT_NE(text.find("     error: readonly.txt (cannot create file)\r\n"), std::string::npos) << text;
  EXPECT_TRUE(FolderEntries(folder + "\\", Entry) == Sorted(expected)) << text;
  SetFileAttributesA((folder + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

  WIN32_FILE_ATTRIBUTE_DATA facts;
  FILETIME local;
  SYSTEMTIME stamp;
  ASSERT_TRUE(GetFileAttributesExA((folder + "\\good.txt").c_str(), GetFileExInfoStandard, &facts));
  ASSERT_TRUE(FileTimeToLocalFileTime(&facts.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &stamp));
  EXPECT_EQ(std::vector<int>({stamp.wYear, stamp.wMonth, stamp.wDay, stamp.wHour, stamp.wMinute}), std::vector<int>({1999, 3, 7, 10, 0}));

  // A tiny buffer: what fits, terminated, and not one byte more.
  output.assign(64, '\x5A');
  EXPECT_EQ(unzip(nullptr, line.c_str(), output.data(), 16), 1);
  EXPECT_EQ(std::string(output.begin() + 15, output.end()), '\0' + std::string(48, '\x5A'));
  EXPECT_EQ(unzip(nullptr, nullptr, output.data(), 16), 2);
  EXPECT_EQ(unzip(nullptr, "-x", nullptr, 0), 2);
  FreeLibrary(library);
}

}  // namespace
