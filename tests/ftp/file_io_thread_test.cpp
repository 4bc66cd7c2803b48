// The file threads behind retrieve and store, where the real-server transfers cannot reach:
// a disk that refuses, and the one helper thread a job's files share.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "engine_fixture_win.h"
#include "ftp/file_io_thread_win.h"

namespace {

struct OpenFile {
  OpenFile(const std::string& path, DWORD access, DWORD disposition = OPEN_EXISTING)
      : h(CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OpenFile() { CloseHandle(h); }
  HANDLE h;
};

std::string ReadAll(FileReaderThread& reader, int* result = nullptr) {
  std::string got;
  const char* data = nullptr;
  size_t count = 0;
  int r;
  while ((r = reader.Next(data, count)) == 1) got.append(data, count);
  if (result) *result = r;
  return got;
}

// A file that cannot be written (opened for reading only, as a full disk would refuse):
// the socket side is told within a few blocks and never left waiting. The same for reads.
TEST(FileIoThreads, FailuresReachTheSocketSide) {
  TempFolder temp;
  const std::string path = temp.path() + "file.bin";
  WriteWholeFile(path, BinaryContent(10000, 1));
  {
    OpenFile file(path, GENERIC_READ);
    FileIoHelper helper;
    FileWriterThread writer(file.h, 4096, helper);
    int pieces = 0;
    while (char* room = writer.Room(4096)) {
      std::fill(room, room + 4096, 'x');
      writer.Commit(4096);
      ASSERT_LT(++pieces, 10000) << "the failure never reached the socket side";
    }
    EXPECT_EQ(writer.Finish(), 0);
  }
  OpenFile file(path, GENERIC_WRITE);
  FileIoHelper helper;
  FileReaderThread reader(file.h, 4096, helper);
  int result = 0;
  ReadAll(reader, &result);
  EXPECT_EQ(result, -1);
}

// The helper thread is made once, on the first file larger than a block, and serves the
// files after it; files that fit in one block never leave the caller's thread.
TEST(FileIoThreads, SmallFilesStayOnTheCallerAndLargeOnesShareOneThread) {
  TempFolder temp;
  FileIoHelper helper;
  for (int i = 0; i < 50; ++i) {
    const std::string path = temp.path() + "small.bin", bytes = BinaryContent(200 + i, i);
    {
      OpenFile file(path, GENERIC_WRITE, CREATE_ALWAYS);
      FileWriterThread writer(file.h, FileBlockSizeFor(bytes.size(), 1024), helper);
      char* room = writer.Room(1024);
      ASSERT_NE(room, nullptr);
      bytes.copy(room, bytes.size());
      writer.Commit(bytes.size());
      ASSERT_NE(writer.Room(1024), nullptr);  // the receive that finds the end still fits
      EXPECT_EQ(writer.Finish(), 1);
    }
    OpenFile file(path, GENERIC_READ);
    FileReaderThread reader(file.h, FileBlockSizeFor(bytes.size(), 1024), helper);
    EXPECT_EQ(ReadAll(reader), bytes);
  }
  EXPECT_EQ(helper.ThreadId(), 0u) << "a thread was made for files of one block";

  const std::string path = temp.path() + "large.bin", bytes = BinaryContent(3 * 65536 + 5, 2);
  WriteWholeFile(path, bytes);
  DWORD first = 0;
  for (int round = 0; round < 3; ++round) {
    OpenFile file(path, GENERIC_READ);
    FileReaderThread reader(file.h, 65536, helper);
    EXPECT_TRUE(ReadAll(reader) == bytes);
    if (round == 0) first = helper.ThreadId();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(helper.ThreadId(), first);
  }
}

}  // namespace
