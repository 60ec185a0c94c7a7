// Helpers shared by the tests.
#pragma once

#include <filesystem>

namespace quillsheet::test {

// A fresh folder that is removed again when the helper goes away, with the
// user's configuration and data directories pointed inside it.
class ScratchHome {
 public:
  ScratchHome();
  ~ScratchHome();
  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;

  const std::filesystem::path& path() const { return root_; }

 private:
  std::filesystem::path root_;
};

// Makes every file larger than the limit impossible to write, as a full disk
// does, while it lives (the write fails instead of raising SIGXFSZ).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long previous_;
};

// The folder of the shared real-world corpus, or empty when it is absent.
std::filesystem::path CorpusFolder();

}  // namespace quillsheet::test
