// Fields in a watermark's text: "{page}", "{pages}", "{label}", "{file}",
// "{preset}", "{date}", "{time}" and "{NAME}" for a value the user gives;
// "{{" and "}}" stand for braces. Used only by presets whose "textFields"
// is on. Thread-free.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillsheet {

using FieldValues = std::map<std::string, std::string, std::less<>>;

// The text with every field replaced by its value. A field without a value
// (or a lone brace) is a failure: nothing, with the problem in *problem
// ("unknown field {x}").
std::optional<std::string> ExpandTextFields(std::string_view text, const FieldValues& values,
                                            std::string* problem);

// The same for a preview: fields without a value, and lone braces, are shown
// as written.
std::string PreviewTextFields(std::string_view text, const FieldValues& values);

// Adds the names of the text's fields that have no value to names, each
// once, in the order they come.
void AddFieldsWithoutValue(std::string_view text, const FieldValues& values,
                           std::vector<std::string>& names);

// The local date and time in ISO 8601 form ("2026-12-07", "14:05:09").
struct FieldTime {
  std::string date;
  std::string time;
  static FieldTime Now();
};

// Gives "{file}" (the source's name without extension), "{preset}",
// "{date}" and "{time}" their values.
void AddDocumentFields(FieldValues& values, const std::filesystem::path& source,
                       std::string_view preset, const FieldTime& when);

// Gives a page's own fields their values: "{page}" and "{pages}" (1-based
// number, count) and "{label}".
void AddPageFields(FieldValues& values, std::uint64_t page, std::uint64_t pages, std::string label);

// The copies a fields file asks for (a comma-separated table: a header row
// of field names, then one row per copy), each as its values by name; values
// missing at the end of a row are empty. No value, with the reason in
// *problem, for a file that cannot be read or parsed, a header with an empty
// or repeated name, a row with more values than names, or no row at all.
std::optional<std::vector<FieldValues>> ReadFieldsFile(const std::filesystem::path& path,
                                                       std::string* problem);

// The names of the fields a page gives its own value to.
inline constexpr std::string_view kPageField = "page";
inline constexpr std::string_view kPagesField = "pages";
inline constexpr std::string_view kLabelField = "label";

}  // namespace quillsheet
