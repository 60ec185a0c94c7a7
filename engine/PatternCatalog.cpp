#include "engine/PatternCatalog.h"

#include "common/AppPaths.h"
#include "common/PropertyList.h"

namespace quillsheet {
namespace {

std::filesystem::path PatternFolder() { return ResourceFolder() / "patterns"; }

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

std::vector<std::string> PatternNames() {
  std::vector<std::string> names;
  const PropertyListResult read = ReadPropertyListFile(PatternFolder() / "icons.plist");
  const Value::Array* items = read.value ? read.value->ArrayValue() : nullptr;
  if (!items) return names;
  for (const Value& item : *items) {
    const Dictionary* entry = item.DictionaryValue();
    const std::string* name = entry ? StringFor(*entry, "name") : nullptr;
    if (name && IsPlainName(*name)) names.push_back(*name);
  }
  return names;
}

std::optional<std::filesystem::path> PatternImageFile(const std::string& name) {
  if (!IsPlainName(name)) return std::nullopt;
  std::error_code ignored;
  for (const auto& candidate : {PatternFolder() / name, PatternFolder() / (name + ".png")}) {
    if (std::filesystem::is_regular_file(candidate, ignored)) return candidate;
  }
  return std::nullopt;
}

const std::string& InitialPatternName() {
  static const std::string name = [] {
    const auto names = PatternNames();
    return names.empty() ? std::string() : names.front();
  }();
  return name;
}

}  // namespace quillsheet
