// Holds a slim reader/writer lock exclusively for one scope: the engine's state shared
// between the main window's thread, a job's thread and the file helper thread.
#pragma once
#include <windows.h>

class LockedScope {
 public:
  explicit LockedScope(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~LockedScope() { ReleaseSRWLockExclusive(&lock_); }
  LockedScope(const LockedScope&) = delete;
  LockedScope& operator=(const LockedScope&) = delete;

 private:
  SRWLOCK& lock_;
};
