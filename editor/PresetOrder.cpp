#include "editor/PresetOrder.h"

#include "common/GeneralPreferences.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace quillsheet {

std::vector<std::string> PresetNamesInTableOrder(const Dictionary& library) {
  struct Entry {
    std::optional<std::int64_t> index;
    std::string name;
  };
  std::vector<Entry> entries;
  for (const auto& [name, preset] : library) {
    const Dictionary* dictionary = preset.DictionaryValue();
    entries.push_back(
        {dictionary ? IntegerFor(*dictionary, prefkey::kWaterMarkPresetIndex) : std::nullopt,
         name});
  }
  // Entries come sorted by name from the map; a stable sort keeps that order
  // among equal indexes.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.index && b.index) return *a.index < *b.index;
    return a.index.has_value() && !b.index.has_value();
  });
  std::vector<std::string> names;
  names.reserve(entries.size());
  for (auto& entry : entries) names.push_back(std::move(entry.name));
  return names;
}

bool IsPresetLibrary(const Dictionary& contents) {
  return !contents.empty() && std::all_of(contents.begin(), contents.end(), [](const auto& entry) {
    return entry.second.DictionaryValue() != nullptr;
  });
}

}  // namespace quillsheet
