// File reads and writes on a helper thread, so that a transfer's socket calls and its
// disk work overlap instead of taking turns. Data moves between the two threads in a
// few blocks sized to the file; the socket side never waits for the disk while a block
// is free. The helper thread is made once and serves every file of a job, and a file
// that fits in one block never leaves the socket side's thread at all.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Blocks handed between a producer and a consumer thread. Both sides wait on one
// condition variable, which under Wine and Windows alike costs no kernel object. Blocks
// are allocated only as the data needs them, up to blockCount: the first of the size the
// file was expected to need, any later one of the full size. Nothing here throws: the
// helper thread runs these calls, and memory that runs short only means fewer blocks.
class BlockPipe {
 public:
  struct Block {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    size_t used = 0;
  };
  BlockPipe(size_t firstBlockSize, size_t blockSize, int blockCount);
  BlockPipe(const BlockPipe&) = delete;
  BlockPipe& operator=(const BlockPipe&) = delete;

  // Waits; nullptr once the consumer has quit, or when not even one block could be had.
  Block* TakeEmpty();
  void PutFull(Block* block);
  Block* TakeFull();   // waits; nullptr once the producer is done and all was taken
  void PutEmpty(Block* block);
  void ProducerDone();
  void ConsumerQuit();

 private:
  // Blocks waiting their turn, in order; room for every block is made up front.
  class Queue {
   public:
    explicit Queue(int capacity) : slots_(capacity > 0 ? static_cast<size_t>(capacity) : 1) {}
    bool empty() const { return count_ == 0; }
    void Push(Block* block);
    Block* Pop();

   private:
    std::vector<Block*> slots_;
    size_t head_ = 0, count_ = 0;
  };
  Block* NewBlock();

  size_t firstBlockSize_, blockSize_;
  int blockCount_;
  std::vector<std::unique_ptr<Block>> blocks_;
  Queue empty_, full_;
  bool producerDone_ = false, consumerQuit_ = false;
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
};

// The first block for a file of the expected size moved in pieces of at most pieceSize:
// the whole file (rounded up) and one more piece when small, never less than one piece,
// at most 1 MiB, always a whole number of pieces. Later blocks, for a file larger than
// expected, take a whole number of first blocks up to 1 MiB (or the first block's size).
size_t FileBlockSizeFor(uint64_t expectedSize, size_t pieceSize);

// The helper thread: runs one task at a time for the file being moved. Made on first use.
class FileIoHelper {
 public:
  FileIoHelper() = default;
  ~FileIoHelper();
  FileIoHelper(const FileIoHelper&) = delete;
  FileIoHelper& operator=(const FileIoHelper&) = delete;

  // Hands the task to the thread; false when no thread could be made (run it yourself).
  bool Start(std::function<void()> task);
  // Waits until the task last started has returned.
  void Wait();
  DWORD ThreadId() const { return threadId_; }

 private:
  static DWORD WINAPI Main(void* self);
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
  std::function<void()> task_;
  bool busy_ = false, quit_ = false;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
};

// A download's file: the socket side fills blocks, the helper thread writes them in
// order. Until a second block is needed, or without a thread, blocks are written on the
// spot.
class FileWriterThread {
 public:
  // `file` stays the caller's and must stay open until Finish; so must the helper.
  FileWriterThread(HANDLE file, size_t firstBlockSize, FileIoHelper& helper);
  ~FileWriterThread();
  FileWriterThread(const FileWriterThread&) = delete;
  FileWriterThread& operator=(const FileWriterThread&) = delete;

  // Room for `count` more bytes, with count at most the first block's size; nullptr when
  // the writer has failed or is finished.
  char* Room(size_t count);
  // `count` bytes were put at the last Room; a full block goes to the helper thread.
  void Commit(size_t count);
  bool Failed() const { return failed_.load(std::memory_order_relaxed); }
  // Writes everything committed and waits for it. 1 when every write succeeded.
  int Finish();

 private:
  void Drain();
  void Write(BlockPipe::Block* block);
  HANDLE file_;
  FileIoHelper& helper_;
  size_t firstBlockSize_;
  BlockPipe pipe_;
  BlockPipe::Block* current_ = nullptr;
  bool onHelper_ = false;
  bool finished_ = false;
  std::atomic<bool> failed_{false};
};

// An upload's file: after the first block the helper thread reads ahead while the
// socket side sends.
class FileReaderThread {
 public:
  FileReaderThread(HANDLE file, size_t firstBlockSize, FileIoHelper& helper);
  ~FileReaderThread();
  FileReaderThread(const FileReaderThread&) = delete;
  FileReaderThread& operator=(const FileReaderThread&) = delete;

  // Stops reading ahead and waits for the helper; the file may be closed after it.
  void Stop();

  // The next piece of the file, after giving back the previous one: 1 with data, 0 at
  // the end of the file, -1 when a read failed.
  int Next(const char*& data, size_t& count);

 private:
  void ReadAhead();
  bool ReadInto(BlockPipe::Block* block);
  HANDLE file_;
  FileIoHelper& helper_;
  BlockPipe pipe_;
  BlockPipe::Block* current_ = nullptr;
  bool onHelper_ = false;
  bool stopped_ = false;
  bool atEnd_ = false;
  std::atomic<bool> failed_{false};
};
