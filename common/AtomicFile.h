// Replacing a file so that readers and crashes only ever see the old or the
// new content, and a failed write (a full disk, a read-only folder) never
// damages the old one.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/Result.h"

namespace quillsheet {

// "cannot write PATH: CAUSE" for the current errno, naming the file the user
// asked for (never the hidden temporary file).
std::string WriteFailure(const std::filesystem::path& destination, int error);

// A new file that takes a destination's place only when it is complete. It is
// created hidden, with a short name (".qs-XXXXXX", so any name the file
// system accepts for the destination works), in the destination's folder.
// Every write, the sync and the close are checked; Deliver() renames it over
// the destination. The file is removed when the object goes away undelivered.
// While the object lives it holds a lock on the file, so that a file no live
// writer holds can be told stale (RemoveStaleStagedFiles). One thread uses an
// object at a time.
class StagedFile {
 public:
  // No file, with the reason in failure, when it cannot be created (a missing
  // or read-only folder).
  static std::unique_ptr<StagedFile> Create(const std::filesystem::path& destination,
                                            Result& failure);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  const std::filesystem::path& path() const { return path_; }
  const std::filesystem::path& destination() const { return destination_; }
  // Open for writing until Close(); -1 after it.
  int descriptor() const { return fd_; }

  Result Write(std::string_view bytes);
  // Syncs the data to disk and closes the file; the first failure is kept.
  Result Close();
  // Closes (when still open) and renames the file over the destination, which
  // keeps its permissions when it existed. On failure the destination is
  // untouched and the staged file removed.
  Result Deliver();

 private:
  StagedFile(std::filesystem::path destination, std::filesystem::path path, int fd, int hold)
      : destination_(std::move(destination)), path_(std::move(path)), fd_(fd), hold_(hold) {}
  Result Fail(int error);

  std::filesystem::path destination_;
  std::filesystem::path path_;
  int fd_ = -1;
  int hold_ = -1;  // keeps the lock after the file is closed
  bool delivered_ = false;
  std::optional<Result> failure_;
};

// Removes the staged files in folder that no live writer holds: what a
// killed run left (for a locked source, a decrypted copy). Any thread.
void RemoveStaleStagedFiles(const std::filesystem::path& folder);

// Writes the bytes to a staged file and delivers it. On failure the target is
// untouched and nothing is left behind.
Result WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Reads a whole regular file of at most maxBytes; no value, with the reason
// in why (when given), for anything else (missing, a folder, a device, a
// FIFO, too large, unreadable).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::string* why = nullptr,
                                         std::uintmax_t maxBytes = std::uintmax_t(256) << 20);

}  // namespace quillsheet
