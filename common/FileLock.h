// An exclusive lock that processes (and separate locks in one process) take
// in turn: flock on a lock file, created with mode 0600 when missing and
// never followed through a link. The constructor waits for the lock; the
// destructor releases it. When the file cannot be opened there is no lock
// (held() is false) and callers go on as the only user. Any thread; one
// object per holder.
#pragma once

#include <filesystem>

namespace quillsheet {

class ExclusiveFileLock {
 public:
  explicit ExclusiveFileLock(const std::filesystem::path& lockFile);
  ~ExclusiveFileLock();
  ExclusiveFileLock(const ExclusiveFileLock&) = delete;
  ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

  bool held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace quillsheet
