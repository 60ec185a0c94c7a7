// Command lines of any words (NUL separates them) through the argument parser.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/Arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.emplace_back();
    } else {
      words.back() += static_cast<char>(data[i]);
    }
  }
  std::string error;
  const auto parsed = quillsheet::cli::ParseArguments(words, {"o", "pages", "name"}, error);
  if (!parsed && error.empty()) __builtin_trap();
  return 0;
}
