#include "ftp/file_io_thread_win.h"

#include <new>

#include "ftp/locked_scope_win.h"

namespace {

// Enough blocks that the socket side finds a free one while the disk catches up, or while
// the helper thread waits for a CPU (16 MiB in all; measured faster than 4 at 1 GiB).
constexpr int kBlocksInFlight = 16;
constexpr size_t kLargestBlock = 1024 * 1024;

// A whole number of first blocks, so that blocks hold whole pieces whenever the first does.
size_t LaterBlockSize(size_t firstBlockSize) {
  if (firstBlockSize == 0) return kLargestBlock;
  return firstBlockSize >= kLargestBlock ? firstBlockSize : kLargestBlock / firstBlockSize * firstBlockSize;
}

void JoinThread(HANDLE& thread) {
  if (!thread) return;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  thread = nullptr;
}

}  // namespace

BlockPipe::BlockPipe(size_t firstBlockSize, size_t blockSize, int blockCount)
    : firstBlockSize_(firstBlockSize), blockSize_(blockSize), blockCount_(blockCount), empty_(blockCount),
      full_(blockCount) {
  blocks_.reserve(static_cast<size_t>(blockCount));
}

void BlockPipe::Queue::Push(Block* block) {
  slots_[(head_ + count_) % slots_.size()] = block;
  ++count_;
}

BlockPipe::Block* BlockPipe::Queue::Pop() {
  Block* block = slots_[head_];
  head_ = (head_ + 1) % slots_.size();
  --count_;
  return block;
}

// Called with the lock held; nullptr when memory is short.
BlockPipe::Block* BlockPipe::NewBlock() {
  std::unique_ptr<Block> block(new (std::nothrow) Block);
  if (!block) return nullptr;
  block->size = blocks_.empty() ? firstBlockSize_ : blockSize_;
  block->bytes.reset(new (std::nothrow) char[block->size]);
  if (!block->bytes) return nullptr;
  blocks_.push_back(std::move(block));  // within the room reserved
  return blocks_.back().get();
}

BlockPipe::Block* BlockPipe::TakeEmpty() {
  LockedScope locked(lock_);
  Block* block = nullptr;
  while (!consumerQuit_) {
    if (!empty_.empty()) {
      block = empty_.Pop();
      break;
    }
    if (blocks_.size() < static_cast<size_t>(blockCount_)) {
      if ((block = NewBlock()) != nullptr) break;
      if (blocks_.empty()) return nullptr;
      blockCount_ = static_cast<int>(blocks_.size());  // make do with the blocks there are
      continue;
    }
    SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
  }
  if (!block) return nullptr;
  block->used = 0;
  return block;
}

void BlockPipe::PutFull(Block* block) {
  {
    LockedScope locked(lock_);
    full_.Push(block);
  }
  WakeAllConditionVariable(&changed_);
}

BlockPipe::Block* BlockPipe::TakeFull() {
  LockedScope locked(lock_);
  while (full_.empty() && !producerDone_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
  if (full_.empty()) return nullptr;
  return full_.Pop();
}

void BlockPipe::PutEmpty(Block* block) {
  {
    LockedScope locked(lock_);
    empty_.Push(block);
  }
  WakeAllConditionVariable(&changed_);
}

void BlockPipe::ProducerDone() {
  {
    LockedScope locked(lock_);
    producerDone_ = true;
  }
  WakeAllConditionVariable(&changed_);
}

void BlockPipe::ConsumerQuit() {
  {
    LockedScope locked(lock_);
    consumerQuit_ = true;
  }
  WakeAllConditionVariable(&changed_);
}

size_t FileBlockSizeFor(uint64_t expectedSize, size_t pieceSize) {
  if (pieceSize == 0) pieceSize = 1;
  // Room for the whole file and one more piece, so the receive that finds the end of a
  // file of the expected size still fits in the first block. Whole pieces only: a block
  // that ended in part of one would put a short send on the wire at every block's end.
  const uint64_t piece = pieceSize;
  const uint64_t largest = kLargestBlock > piece ? kLargestBlock / piece * piece : piece;
  if (expectedSize >= largest) return static_cast<size_t>(largest);
  uint64_t wanted = (expectedSize + 4095) / 4096 * 4096 + piece;
  wanted = (wanted + piece - 1) / piece * piece;
  return static_cast<size_t>(wanted < largest ? wanted : largest);
}

// ---- the helper thread ----

FileIoHelper::~FileIoHelper() {
  if (!thread_) return;
  {
    LockedScope locked(lock_);
    quit_ = true;
  }
  WakeAllConditionVariable(&changed_);
  JoinThread(thread_);
}

bool FileIoHelper::Start(std::function<void()> task) {
  if (!thread_) {
    thread_ = CreateThread(nullptr, 0, &FileIoHelper::Main, this, 0, &threadId_);
    if (!thread_) return false;
  }
  {
    LockedScope locked(lock_);
    task_ = std::move(task);
    busy_ = true;
  }
  WakeAllConditionVariable(&changed_);
  return true;
}

void FileIoHelper::Wait() {
  LockedScope locked(lock_);
  while (busy_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
}

DWORD WINAPI FileIoHelper::Main(void* self) {
  auto* helper = static_cast<FileIoHelper*>(self);
  for (;;) {
    std::function<void()> task;
    {
      LockedScope locked(helper->lock_);
      while (!helper->task_ && !helper->quit_) SleepConditionVariableSRW(&helper->changed_, &helper->lock_, INFINITE, 0);
      if (!helper->task_) return 0;
      task = std::move(helper->task_);
      helper->task_ = nullptr;
    }
    task();
    {
      LockedScope locked(helper->lock_);
      helper->busy_ = false;
    }
    WakeAllConditionVariable(&helper->changed_);
  }
}

// ---- writing ----

FileWriterThread::FileWriterThread(HANDLE file, size_t firstBlockSize, FileIoHelper& helper)
    : file_(file),
      helper_(helper),
      firstBlockSize_(firstBlockSize),
      pipe_(firstBlockSize, LaterBlockSize(firstBlockSize), kBlocksInFlight) {}

FileWriterThread::~FileWriterThread() { Finish(); }

void FileWriterThread::Drain() {
  while (BlockPipe::Block* block = pipe_.TakeFull()) {
    Write(block);
    pipe_.PutEmpty(block);
  }
}

// After a failed write the rest is dropped: the socket side sees Failed and stops.
void FileWriterThread::Write(BlockPipe::Block* block) {
  if (block->used == 0 || Failed()) return;
  DWORD written = 0;
  if (!WriteFile(file_, block->bytes.get(), static_cast<DWORD>(block->used), &written, nullptr) ||
      written != block->used)
    failed_.store(true, std::memory_order_relaxed);
}

char* FileWriterThread::Room(size_t count) {
  if (finished_ || Failed() || count > firstBlockSize_) return nullptr;
  if (current_ && current_->size - current_->used < count) {
    // The file is larger than one block: from now on the helper writes.
    if (!onHelper_) onHelper_ = helper_.Start([this] { Drain(); });
    if (onHelper_) {
      pipe_.PutFull(current_);
    } else {
      Write(current_);
      pipe_.PutEmpty(current_);
    }
    current_ = nullptr;
  }
  if (!current_) current_ = pipe_.TakeEmpty();
  if (!current_) {
    failed_.store(true, std::memory_order_relaxed);  // not even one block of memory
    return nullptr;
  }
  return current_->bytes.get() + current_->used;
}

void FileWriterThread::Commit(size_t count) {
  if (current_) current_->used += count;
}

int FileWriterThread::Finish() {
  if (!finished_) {
    finished_ = true;
    if (current_) {
      if (onHelper_) pipe_.PutFull(current_);
      else Write(current_);
      current_ = nullptr;
    }
    pipe_.ProducerDone();
    if (onHelper_) helper_.Wait();
    onHelper_ = false;
  }
  return Failed() ? 0 : 1;
}

// ---- reading ----

FileReaderThread::FileReaderThread(HANDLE file, size_t firstBlockSize, FileIoHelper& helper)
    : file_(file), helper_(helper), pipe_(firstBlockSize, LaterBlockSize(firstBlockSize), kBlocksInFlight) {}

FileReaderThread::~FileReaderThread() { Stop(); }

void FileReaderThread::Stop() {
  if (stopped_) return;
  stopped_ = true;
  atEnd_ = true;
  pipe_.ConsumerQuit();
  if (onHelper_) helper_.Wait();
  onHelper_ = false;
}

void FileReaderThread::ReadAhead() {
  while (BlockPipe::Block* block = pipe_.TakeEmpty()) {
    if (!ReadInto(block)) {
      pipe_.PutEmpty(block);
      break;
    }
    pipe_.PutFull(block);
  }
  pipe_.ProducerDone();
}

// False at the end of the file or on a read error (which sets failed_).
bool FileReaderThread::ReadInto(BlockPipe::Block* block) {
  DWORD got = 0;
  if (!ReadFile(file_, block->bytes.get(), static_cast<DWORD>(block->size), &got, nullptr)) {
    failed_.store(true, std::memory_order_relaxed);
    return false;
  }
  block->used = got;
  return got > 0;
}

int FileReaderThread::Next(const char*& data, size_t& count) {
  if (current_) pipe_.PutEmpty(current_);
  current_ = nullptr;
  if (!atEnd_) {
    if (onHelper_) {
      current_ = pipe_.TakeFull();
    } else if (BlockPipe::Block* block = pipe_.TakeEmpty()) {
      if (ReadInto(block)) {
        current_ = block;
        // A full block means more may follow: the helper reads ahead from here on.
        if (block->used == block->size) onHelper_ = helper_.Start([this] { ReadAhead(); });
      } else {
        pipe_.PutEmpty(block);
      }
    } else {
      failed_.store(true, std::memory_order_relaxed);  // not even one block of memory
    }
  }
  if (!current_) {
    atEnd_ = true;
    return failed_.load(std::memory_order_relaxed) ? -1 : 0;
  }
  data = current_->bytes.get();
  count = current_->used;
  return 1;
}
