// Presets read from files named on the command line.
#pragma once

#include <optional>
#include <string>

#include "common/Value.h"
#include "editor/PresetLibrary.h"

namespace quillsheet::cli {

// Loads the user's library; a library file that could not be created is
// said as a warning (the bundled presets are still there to use).
void LoadLibrary(PresetLibrary& library);

// A file that must hold one dictionary; no value, with a message, otherwise.
std::optional<Dictionary> ReadDictionaryFile(const std::string& path, std::string& error);

// One preset: the whole file, or with a name the entry of that name in a
// library file.
std::optional<Dictionary> ReadPreset(const std::string& path,
                                     const std::optional<std::string>& name, std::string& error);

}  // namespace quillsheet::cli
