// The one rule for making a taken name free by numbering it.
#pragma once

#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace quillsheet {

// The first free name of: base (when tryBase), then base + joiner + 1, 2, 3...
// ("Preset 1" with joiner " ", "report1" with joiner ""). No value when the
// first `limit` numbers are all taken.
inline std::optional<std::string> FirstFreeNumberedName(
    const std::string& base, std::string_view joiner, bool tryBase,
    const std::function<bool(const std::string&)>& isFree,
    long limit = std::numeric_limits<long>::max()) {
  if (tryBase && isFree(base)) return base;
  for (long number = 1; number <= limit; ++number) {
    std::string candidate = base + std::string(joiner) + std::to_string(number);
    if (isFree(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace quillsheet
