#include "engine/PatternNameProvider.h"

#include <mutex>
#include <optional>

#include "engine/PatternCatalog.h"

namespace quillsheet {
namespace {

std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}

// Unset until the picker sets it or the first read takes the first pattern of
// the list, the picker's initial choice.
std::optional<std::string>& Storage() {
  static std::optional<std::string> name;
  return name;
}

}  // namespace

std::string CurrentPatternName() {
  std::lock_guard lock(Guard());
  if (!Storage()) {
    const auto names = PatternNames();
    Storage() = names.empty() ? std::string() : names.front();
  }
  return *Storage();
}

void SetCurrentPatternName(std::string name) {
  std::lock_guard lock(Guard());
  Storage() = std::move(name);
}

}  // namespace quillsheet
