// Page-range texts against documents of any size, up to the largest.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "output/PageSelection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint64_t pageCount = 0;
  if (size >= sizeof pageCount) {
    std::memcpy(&pageCount, data, sizeof pageCount);
    data += sizeof pageCount;
    size -= sizeof pageCount;
  }
  const auto set = quillsheet::PageIndexSetFromRangeString(
      std::string_view(reinterpret_cast<const char*>(data), size), pageCount);
  for (const auto& [first, last] : set.ranges()) {
    if (first > last || last >= pageCount) __builtin_trap();
  }
  return 0;
}
