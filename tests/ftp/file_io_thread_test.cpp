// The file threads behind retrieve and store: order kept across blocks, failures seen
// by the socket side, and no thread left waiting whatever way a transfer ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "ftp/file_io_thread_win.h"
#include "support/temp_folder_win.h"

namespace {

// Bytes that differ from block to block, so a block written twice or out of order shows.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return bytes;
}

class FileHandleFor {
 public:
  FileHandleFor(const std::string& path, DWORD access, DWORD disposition)
      : h_(CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~FileHandleFor() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  FileHandleFor file(path, GENERIC_WRITE, CREATE_ALWAYS);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

// Pieces of 1 to 64 bytes, as receives come, through blocks of 64.
TEST(FileWriterThread, WritesUnevenPiecesInOrder) {
  TempFolder temp;
  const std::string path = temp.path() + "down.bin", expected = Pattern(100000);
  {
    FileHandleFor file(path, GENERIC_WRITE, CREATE_ALWAYS);
    FileIoHelper helper;
    FileWriterThread writer(file.get(), 64, helper);
    size_t at = 0;
    for (size_t piece = 1; at < expected.size(); piece = piece % 64 + 1) {
      size_t count = std::min(piece, expected.size() - at);
      char* room = writer.Room(64);
      ASSERT_NE(room, nullptr);
      expected.copy(room, count, at);
      writer.Commit(count);
      at += count;
    }
    EXPECT_EQ(writer.Finish(), 1);
    EXPECT_EQ(writer.Room(1), nullptr) << "room after Finish";
  }
  EXPECT_EQ(ReadWholeFile(path), expected);
}

TEST(FileWriterThread, NothingCommittedLeavesAnEmptyFile) {
  TempFolder temp;
  const std::string path = temp.path() + "empty.bin";
  {
    FileHandleFor file(path, GENERIC_WRITE, CREATE_ALWAYS);
    FileIoHelper helper;
    FileWriterThread writer(file.get(), 1024, helper);
    ASSERT_NE(writer.Room(1024), nullptr);
    EXPECT_EQ(writer.Finish(), 1);
  }
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadWholeFile(path), "");
}

// A file that cannot be written (here: opened for reading only, as a full disk would
// refuse): the socket side is told within a few blocks and is never left waiting.
TEST(FileWriterThread, AFailedWriteStopsTheSocketSide) {
  TempFolder temp;
  const std::string path = temp.path() + "readonly.bin";
  WriteWholeFile(path, "old");
  FileHandleFor file(path, GENERIC_READ, OPEN_EXISTING);
  FileIoHelper helper;
    FileWriterThread writer(file.get(), 4096, helper);
  int pieces = 0;
  while (char* room = writer.Room(4096)) {
    std::fill(room, room + 4096, 'x');
    writer.Commit(4096);
    ASSERT_LT(++pieces, 10000) << "the failure never reached the socket side";
  }
  EXPECT_TRUE(writer.Failed());
  EXPECT_EQ(writer.Finish(), 0);
}

TEST(FileReaderThread, DeliversTheFileInOrderThenTheEnd) {
  TempFolder temp;
  const std::string path = temp.path() + "up.bin", expected = Pattern(1000003);
  WriteWholeFile(path, expected);
  FileHandleFor file(path, GENERIC_READ, OPEN_EXISTING);
  FileIoHelper helper;
  FileReaderThread reader(file.get(), 65536, helper);
  std::string got;
  const char* data = nullptr;
  size_t count = 0;
  while (reader.Next(data, count) == 1) got.append(data, count);
  EXPECT_EQ(got.size(), expected.size());
  EXPECT_TRUE(got == expected);
  EXPECT_EQ(reader.Next(data, count), 0) << "the end is told again";
}

TEST(FileReaderThread, AnEmptyFileEndsAtOnce) {
  TempFolder temp;
  const std::string path = temp.path() + "zero.bin";
  WriteWholeFile(path, "");
  FileHandleFor file(path, GENERIC_READ, OPEN_EXISTING);
  FileIoHelper helper;
  FileReaderThread reader(file.get(), 4096, helper);
  const char* data = nullptr;
  size_t count = 0;
  EXPECT_EQ(reader.Next(data, count), 0);
}

TEST(FileReaderThread, AFailedReadIsReported) {
  TempFolder temp;
  const std::string path = temp.path() + "writeonly.bin";
  WriteWholeFile(path, Pattern(10000));
  FileHandleFor file(path, GENERIC_WRITE, OPEN_EXISTING);
  FileIoHelper helper;
  FileReaderThread reader(file.get(), 4096, helper);
  const char* data = nullptr;
  size_t count = 0;
  EXPECT_EQ(reader.Next(data, count), -1);
}

// A stop or a broken connection mid-file: the thread ends while blocks are still full
// and the file can be closed right after.
TEST(FileReaderThread, StopMidFileEndsTheThread) {
  TempFolder temp;
  const std::string path = temp.path() + "big.bin";
  WriteWholeFile(path, Pattern(8 * 65536));
  for (int round = 0; round < 20; ++round) {
    FileHandleFor file(path, GENERIC_READ, OPEN_EXISTING);
    FileIoHelper helper;
  FileReaderThread reader(file.get(), 65536, helper);
    const char* data = nullptr;
    size_t count = 0;
    ASSERT_EQ(reader.Next(data, count), 1);
    reader.Stop();
    EXPECT_EQ(reader.Next(data, count), 0);
  }
}

// The helper thread is made once, on the first file larger than a block, and serves the
// files after it; files that fit in one block never leave the caller's thread.
TEST(FileIoHelper, SmallFilesStayOnTheCallerAndLargeOnesShareOneThread) {
  TempFolder temp;
  FileIoHelper helper;
  for (int i = 0; i < 50; ++i) {
    const std::string path = temp.path() + "small" + std::to_string(i) + ".bin", bytes = Pattern(200 + i);
    {
      FileHandleFor file(path, GENERIC_WRITE, CREATE_ALWAYS);
      FileWriterThread writer(file.get(), FileBlockSizeFor(bytes.size(), 1024), helper);
      char* room = writer.Room(1024);
      ASSERT_NE(room, nullptr);
      bytes.copy(room, bytes.size());
      writer.Commit(bytes.size());
      ASSERT_NE(writer.Room(1024), nullptr);  // the receive that finds the end still fits
      EXPECT_EQ(writer.Finish(), 1);
    }
    FileHandleFor file(path, GENERIC_READ, OPEN_EXISTING);
    FileReaderThread reader(file.get(), FileBlockSizeFor(bytes.size(), 1024), helper);
    const char* data = nullptr;
    size_t count = 0;
    ASSERT_EQ(reader.Next(data, count), 1);
    EXPECT_EQ(std::string(data, count), bytes);
    EXPECT_EQ(reader.Next(data, count), 0);
  }
  EXPECT_EQ(helper.ThreadId(), 0u) << "a thread was made for files of one block";

  DWORD first = 0;
  for (int round = 0; round < 3; ++round) {
    const std::string path = temp.path() + "large.bin", bytes = Pattern(3 * 65536 + 5);
    WriteWholeFile(path, bytes);
    FileHandleFor file(path, GENERIC_READ, OPEN_EXISTING);
    FileReaderThread reader(file.get(), 65536, helper);
    std::string got;
    const char* data = nullptr;
    size_t count = 0;
    while (reader.Next(data, count) == 1) got.append(data, count);
    EXPECT_TRUE(got == bytes);
    if (round == 0) first = helper.ThreadId();
    EXPECT_NE(helper.ThreadId(), 0u);
    EXPECT_EQ(helper.ThreadId(), first);
  }
}

}  // namespace
