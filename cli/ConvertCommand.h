// "quillsheet-cli convert": one input, one watermarked output file.
#pragma once

#include <string>
#include <vector>

namespace quillsheet::cli {

inline constexpr const char* kConvertUsage =
    "usage: quillsheet-cli convert INPUT.pdf -o OUTPUT.pdf [--preset-file F [--name NAME]]\n"
    "         [--pages all|even|odd|portrait|landscape|first|last|first-last|RANGE]\n"
    "         [--quality keep|high|medium|low] [--encrypt-password-file FILE]\n"
    "         [--input-password PW]\n";

int RunConvertCommand(const std::vector<std::string>& words);

}  // namespace quillsheet::cli
