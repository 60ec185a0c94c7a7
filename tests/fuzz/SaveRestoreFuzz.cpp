// The save/restore scanner on any content: it must end, and never read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "output/SaveRestoreScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto count =
      quillsheet::CountSaveRestore(std::string_view(reinterpret_cast<const char*>(data), size));
  return count.depth < 0 ? 1 : 0;
}
