// Comma-separated tables (fields files): any bytes give rows or a reason.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/CsvTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string problem;
  const auto rows =
      quillsheet::ParseCsv(std::string_view(reinterpret_cast<const char*>(data), size), &problem);
  if (!rows && problem.empty()) __builtin_trap();
  if (rows) {
    std::size_t bytes = 0;
    for (const auto& row : *rows) {
      for (const auto& field : row) bytes += field.size();
    }
    if (bytes > size) __builtin_trap();
  }
  return 0;
}
