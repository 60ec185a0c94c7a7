// Any bytes as a preset file: parsed, then built into a record as a preset
// (and as a library of presets) would be.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/PropertyList.h"
#include "engine/WatermarkSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value =
      quillsheet::ParsePropertyList(std::string_view(reinterpret_cast<const char*>(data), size));
  const quillsheet::Dictionary* dictionary = value ? value->DictionaryValue() : nullptr;
  if (!dictionary) return 0;
  (void)quillsheet::GetPresetSettingsFrom(dictionary, "");
  for (const auto& [name, entry] : *dictionary) {
    if (const auto* preset = entry.DictionaryValue()) {
      (void)quillsheet::GetPresetSettingsFrom(preset, "");
    }
  }
  return 0;
}
