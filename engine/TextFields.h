// Fields in a watermark's text: "{page}", "{pages}", "{label}", "{file}",
// "{preset}", "{date}", "{time}" and "{NAME}" for a value the user gives;
// "{{" and "}}" stand for braces. Used only by presets whose "textFields"
// is on. Thread-free.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quillsheet {

using FieldValues = std::map<std::string, std::string, std::less<>>;

// The text with every field replaced by its value. A field without a value
// (or a lone brace) is a failure: nothing, with the problem in *problem
// ("unknown field {x}").
std::optional<std::string> ExpandTextFields(std::string_view text, const FieldValues& values,
                                            std::string* problem);

// The names of the fields a page gives its own value to.
inline constexpr std::string_view kPageField = "page";
inline constexpr std::string_view kPagesField = "pages";
inline constexpr std::string_view kLabelField = "label";

}  // namespace quillsheet
