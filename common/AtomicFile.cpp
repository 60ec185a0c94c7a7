#include "common/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillsheet {
namespace {

std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Outputs are created like any new file (0666 less the umask); a replaced
// file keeps its own permissions.
mode_t ModeFor(const std::filesystem::path& target) {
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string WriteFailure(const std::filesystem::path& destination, int error) {
  if (error == ENOENT) {
    return "cannot write " + destination.string() + ": the folder " +
           FolderOf(destination).string() + " does not exist";
  }
  return "cannot write " + destination.string() + ": " + std::strerror(error);
}

std::unique_ptr<StagedFile> StagedFile::Create(const std::filesystem::path& destination,
                                               Result& failure) {
  std::string pattern = (FolderOf(destination) / ".qs-XXXXXX").string();
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    failure = Result::Failed(WriteFailure(destination, errno));
    return nullptr;
  }
  // The lock belongs to the open file, which the duplicate keeps open.
  ::flock(fd, LOCK_EX | LOCK_NB);
  const int hold = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  return std::unique_ptr<StagedFile>(new StagedFile(destination, pattern, fd, hold));
}

StagedFile::~StagedFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!delivered_) ::unlink(path_.c_str());
  if (hold_ >= 0) ::close(hold_);
}

void RemoveStaleStagedFiles(const std::filesystem::path& folder) {
  std::error_code failure;
  for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(".qs-") || name.size() != 10) continue;
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(entry.path().c_str());
    }
    ::close(fd);
  }
}

Result StagedFile::Fail(int error) {
  if (!failure_) failure_ = Result::Failed(WriteFailure(destination_, error));
  return *failure_;
}

Result StagedFile::Write(std::string_view bytes) {
  if (failure_) return *failure_;
  if (fd_ < 0) return Fail(EBADF);
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return Result::Ok();
}

Result StagedFile::Close() {
  if (fd_ >= 0) {
    const int fd = fd_;
    fd_ = -1;
    int error = 0;
    if (::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    if (error != 0) return Fail(error);
  }
  return failure_ ? *failure_ : Result::Ok();
}

Result StagedFile::Deliver() {
  if (const Result closed = Close(); !closed.ok()) return closed;
  if (::chmod(path_.c_str(), ModeFor(destination_)) != 0) return Fail(errno);
  if (::rename(path_.c_str(), destination_.c_str()) != 0) return Fail(errno);
  delivered_ = true;
  SyncFolder(FolderOf(destination_));
  return Result::Ok();
}

Result WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  Result failure;
  const auto staged = StagedFile::Create(target, failure);
  if (!staged) return failure;
  if (const Result written = staged->Write(bytes); !written.ok()) return written;
  return staged->Deliver();
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* why,
                                         std::uintmax_t maxBytes) {
  const auto fail = [&](const std::string& reason) -> std::optional<std::string> {
    if (why) *why = reason;
    return std::nullopt;
  };
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(path.string() + ": " + std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return fail(path.string() + " is not a regular file");
  }
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    ::close(fd);
    return fail(path.string() + " is too large (" + std::to_string(info.st_size >> 20) + " MB)");
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return fail(path.string() + ": " + std::strerror(error));
    }
    if (bytes.size() + static_cast<size_t>(count) > maxBytes) {
      ::close(fd);
      return fail(path.string() + " is too large");
    }
    bytes.append(buffer, static_cast<size_t>(count));
  }
  ::close(fd);
  return bytes;
}

}  // namespace quillsheet
