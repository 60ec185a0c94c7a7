// "quillsheet-cli presets ...": the user's preset library, through the same
// model the window uses, and preset files named on the command line.
#pragma once

#include <string>
#include <vector>

namespace quillsheet::cli {

inline constexpr const char* kPresetsUsage =
    "usage: quillsheet-cli presets list\n"
    "       quillsheet-cli presets show NAME\n"
    "       quillsheet-cli presets export NAME FILE\n"
    "       quillsheet-cli presets import FILE [--as NAME | --all]\n"
    "       quillsheet-cli presets rename OLD NEW [--replace]\n"
    "       quillsheet-cli presets remove NAME...\n"
    "       quillsheet-cli presets show --file FILE [--name NAME]\n"
    "       quillsheet-cli presets list --file FILE\n";

int RunPresetsCommand(const std::vector<std::string>& words);

}  // namespace quillsheet::cli
