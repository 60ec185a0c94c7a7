// "quillsheet-cli convert": many documents, with one or several presets, into
// watermarked copies, as the window's Save All does.
#pragma once

#include <string>
#include <vector>

namespace quillsheet::cli {

inline constexpr const char* kConvertUsage =
    "usage: quillsheet-cli convert INPUT... -o DEST [--preset NAME]... [--preset-file F [--name "
    "NAME]]...\n"
    "         [--recursive] [--pages all|even|odd|portrait|landscape|first|last|first-last|RANGE]\n"
    "         [--quality keep|high|medium|low] [--encrypt-password-file FILE]\n"
    "         [--input-password PW]... [--name-position before|after|none]\n"
    "         [--separator S | --no-separator] [--replace]\n"
    "         [--folder-per-preset | --no-folder-per-preset] [--jobs N] [--allow-no-watermark]\n";

int RunConvertCommand(const std::vector<std::string>& words);

}  // namespace quillsheet::cli
