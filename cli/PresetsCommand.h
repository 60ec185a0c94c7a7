// "quillsheet-cli presets ...": looking at preset files.
#pragma once

#include <string>
#include <vector>

namespace quillsheet::cli {

inline constexpr const char* kPresetsUsage =
    "usage: quillsheet-cli presets show --file FILE [--name NAME]\n"
    "       quillsheet-cli presets list --file FILE\n";

int RunPresetsCommand(const std::vector<std::string>& words);

}  // namespace quillsheet::cli
