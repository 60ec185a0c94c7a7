// Comma-separated tables as spreadsheets export them: fields separated by
// commas, rows by CR LF or LF, fields in double quotes may hold commas, line
// breaks and doubled quotes. A leading byte-order mark is skipped. Thread-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillsheet {

using CsvRow = std::vector<std::string>;

// The rows of the table; empty lines are skipped. No value for a quote left
// open or text after a closing quote, with the reason and line in *problem.
std::optional<std::vector<CsvRow>> ParseCsv(std::string_view text, std::string* problem);

}  // namespace quillsheet
