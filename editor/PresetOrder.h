// The table order of a preset library (preset name to preset dictionary).
#pragma once

#include <string>
#include <vector>

#include "common/Value.h"

namespace quillsheet {

// Names sorted by their presets' "WaterMarkPresetIndex". Presets without a
// usable index come after the others; equal indexes keep name order, so the
// order is the same on every run.
std::vector<std::string> PresetNamesInTableOrder(const Dictionary& library);

// Whether a file's dictionary is a library (every entry a preset dictionary)
// rather than one preset (whose entries are numbers, strings and arrays).
bool IsPresetLibrary(const Dictionary& contents);

}  // namespace quillsheet
