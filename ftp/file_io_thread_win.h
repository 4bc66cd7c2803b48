// File reads and writes on a helper thread, so that a transfer's socket calls and its
// disk work overlap instead of taking turns. Data moves between the two threads in a
// few large blocks; the socket side never waits for the disk while a block is free.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <deque>
#include <vector>

// Blocks handed between a producer and a consumer thread. Both sides wait on one
// condition variable, which under Wine and Windows alike costs no kernel object.
class BlockPipe {
 public:
  struct Block {
    std::vector<char> bytes;
    size_t used = 0;
  };
  BlockPipe(size_t blockSize, int blockCount);
  BlockPipe(const BlockPipe&) = delete;
  BlockPipe& operator=(const BlockPipe&) = delete;

  Block* TakeEmpty();  // waits; nullptr once the consumer has quit
  void PutFull(Block* block);
  Block* TakeFull();   // waits; nullptr once the producer is done and all was taken
  void PutEmpty(Block* block);
  void ProducerDone();
  void ConsumerQuit();

 private:
  std::vector<Block> blocks_;
  std::deque<Block*> empty_, full_;
  bool producerDone_ = false, consumerQuit_ = false;
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
};

// A download's file: the socket side fills blocks, the helper thread writes them in
// order. Without a thread (it could not start) each block is written on the spot.
class FileWriterThread {
 public:
  // `file` stays the caller's and must stay open until Finish.
  FileWriterThread(HANDLE file, size_t blockSize);
  ~FileWriterThread();
  FileWriterThread(const FileWriterThread&) = delete;
  FileWriterThread& operator=(const FileWriterThread&) = delete;

  // Room for `count` more bytes, with count at most the block size; nullptr when the
  // writer has failed or is finished.
  char* Room(size_t count);
  // `count` bytes were put at the last Room; a full block goes to the helper thread.
  void Commit(size_t count);
  bool Failed() const { return failed_.load(std::memory_order_relaxed); }
  // Writes everything committed, waits for it and ends the thread. 1 when every write
  // succeeded.
  int Finish();

 private:
  static DWORD WINAPI Run(void* self);
  void Write(BlockPipe::Block* block);
  HANDLE file_;
  size_t blockSize_;
  BlockPipe pipe_;
  BlockPipe::Block* current_ = nullptr;
  HANDLE thread_ = nullptr;
  bool finished_ = false;
  std::atomic<bool> failed_{false};
};

// An upload's file: the helper thread reads ahead while the socket side sends.
class FileReaderThread {
 public:
  FileReaderThread(HANDLE file, size_t blockSize);
  ~FileReaderThread();
  FileReaderThread(const FileReaderThread&) = delete;
  FileReaderThread& operator=(const FileReaderThread&) = delete;

  // Stops reading ahead and ends the thread; the file may be closed after it.
  void Stop();

  // The next piece of the file, after giving back the previous one: 1 with data, 0 at
  // the end of the file, -1 when a read failed.
  int Next(const char*& data, size_t& count);

 private:
  static DWORD WINAPI Run(void* self);
  bool ReadInto(BlockPipe::Block* block);
  HANDLE file_;
  BlockPipe pipe_;
  BlockPipe::Block* current_ = nullptr;
  HANDLE thread_ = nullptr;
  bool atEnd_ = false;
  std::atomic<bool> failed_{false};
};
