// Presets read from files named on the command line.
#pragma once

#include <optional>
#include <string>

#include "common/Value.h"

namespace quillsheet::cli {

// A file that must hold one dictionary; no value, with a message, otherwise.
std::optional<Dictionary> ReadDictionaryFile(const std::string& path, std::string& error);

// One preset: the whole file, or with a name the entry of that name in a
// library file.
std::optional<Dictionary> ReadPreset(const std::string& path,
                                     const std::optional<std::string>& name, std::string& error);

}  // namespace quillsheet::cli
