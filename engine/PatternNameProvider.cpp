#include "engine/PatternNameProvider.h"

#include <mutex>

namespace quillsheet {
namespace {

std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}

std::string& Storage() {
  static std::string name;
  return name;
}

}  // namespace

std::string CurrentPatternName() {
  std::lock_guard lock(Guard());
  return Storage();
}

void SetCurrentPatternName(std::string name) {
  std::lock_guard lock(Guard());
  Storage() = std::move(name);
}

}  // namespace quillsheet
