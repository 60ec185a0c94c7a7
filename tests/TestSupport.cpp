#include "tests/TestSupport.h"

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

std::filesystem::path CorpusFolder() {
  const std::filesystem::path corpus =
      std::filesystem::path(QUILLSHEET_SOURCE_DIR) / ".." / "shared" / "corpus";
  std::error_code ignored;
  return std::filesystem::is_directory(corpus, ignored) ? corpus : std::filesystem::path();
}

}  // namespace quillsheet::test
