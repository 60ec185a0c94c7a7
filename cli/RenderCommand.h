// "quillsheet-cli render": one page as the preview shows it, to a PNG file.
#pragma once

#include <string>
#include <vector>

namespace quillsheet::cli {

inline constexpr const char* kRenderUsage =
    "usage: quillsheet-cli render INPUT.pdf -o OUT.png [--page N] [--preset-file F [--name NAME]]\n"
    "                             [--scale S] [--marker text|fill|none] [--password PW]\n";

int RunRenderCommand(const std::vector<std::string>& words);

}  // namespace quillsheet::cli
