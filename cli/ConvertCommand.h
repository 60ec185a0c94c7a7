// "quillsheet-cli convert": many documents, with one or several presets, into
// watermarked copies, as the window's Save All does.
#pragma once

#include <string>
#include <vector>

namespace quillsheet::cli {

inline constexpr const char* kConvertUsage =
    "usage: quillsheet-cli convert INPUT... -o DEST [options]\n"
    "  INPUT                      a PDF file, or a folder of them\n"
    "  -o DEST                    the output file, or a folder (one that exists, or ends in /)\n"
    "  --preset NAME              a preset of your library (repeatable)\n"
    "  --preset-file F [--name N] a preset file, or preset N of a library file (repeatable)\n"
    "  --recursive                take the PDF files of sub-folders too\n"
    "  --pages SELECTION          all, even, odd, portrait, landscape, first, last,\n"
    "                             first-last, or a range such as 1-3,7\n"
    "  --quality Q                keep, high, medium or low (a Ghostscript filter)\n"
    "  --encrypt-password-file F  protect the outputs with the first line of F\n"
    "  --input-password PW        a password to try on locked inputs (repeatable)\n"
    "  --keep-input-password      protect copies of locked inputs with their own password\n"
    "  --field NAME=VALUE         the value of {NAME} in presets with \"textFields\" (repeatable)\n"
    "  --fields-file F.csv        one output per row of F (a header row of field names)\n"
    "  --name-template T          name outputs from fields, such as \"{file}-{recipient}\"\n"
    "  --name-position P          preset name before or after the file name, or none\n"
    "  --separator S              put S between the names; --no-separator: nothing\n"
    "  --replace                  replace existing outputs instead of numbering new ones\n"
    "  --folder-per-preset        one sub-folder per preset; --no-folder-per-preset: none\n"
    "  --jobs N                   convert N documents at a time (1 to 64)\n"
    "  --allow-no-watermark       convert with a preset that has no layer switched on\n"
    "  --keep-marks               stack on the marks an earlier run placed (else replaced)\n"
    "  -h, --help                 show this text\n";

inline constexpr const char* kUnmarkUsage =
    "usage: quillsheet-cli unmark INPUT... -o DEST [options]\n"
    "  INPUT                      a PDF file marked by Quillsheet, or a folder of them\n"
    "  -o DEST                    the output file, or a folder (one that exists, or ends in /)\n"
    "  --recursive                take the PDF files of sub-folders too\n"
    "  --input-password PW        a password to try on locked inputs (repeatable)\n"
    "  --keep-input-password      protect copies of locked inputs with their own password\n"
    "  --encrypt-password-file F  protect the outputs with the first line of F\n"
    "  --replace                  replace existing outputs instead of numbering new ones\n"
    "  --jobs N                   work on N documents at a time (1 to 64)\n"
    "  -h, --help                 show this text\n";

int RunConvertCommand(const std::vector<std::string>& words);

// Writes copies of the inputs without the marks Quillsheet placed.
int RunUnmarkCommand(const std::vector<std::string>& words);

}  // namespace quillsheet::cli
