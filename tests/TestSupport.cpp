#include "tests/TestSupport.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <string>

namespace quillsheet::test {

ScratchHome::ScratchHome() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "quillsheet-test-XXXXXX").string();
  root_ = ::mkdtemp(pattern.data());
  ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
}

ScratchHome::~ScratchHome() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  previous_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = previous_;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

std::filesystem::path CorpusFolder() {
  const std::filesystem::path corpus =
      std::filesystem::path(QUILLSHEET_SOURCE_DIR) / ".." / "shared" / "corpus";
  std::error_code ignored;
  return std::filesystem::is_directory(corpus, ignored) ? corpus : std::filesystem::path();
}

}  // namespace quillsheet::test
