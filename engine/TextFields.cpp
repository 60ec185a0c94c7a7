#include "engine/TextFields.h"

namespace quillsheet {

std::optional<std::string> ExpandTextFields(std::string_view text, const FieldValues& values,
                                            std::string* problem) {
  std::string expanded;
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    if ((c == '{' || c == '}') && at + 1 < text.size() && text[at + 1] == c) {
      expanded += c;
      at += 2;
      continue;
    }
    if (c == '}') {
      if (problem) *problem = "a lone } in the text (write }} for a brace)";
      return std::nullopt;
    }
    if (c != '{') {
      expanded += c;
      ++at;
      continue;
    }
    const size_t end = text.find('}', at);
    if (end == std::string_view::npos) {
      if (problem) *problem = "a { without its } in the text (write {{ for a brace)";
      return std::nullopt;
    }
    const std::string_view name = text.substr(at + 1, end - at - 1);
    const auto value = values.find(name);
    if (value == values.end()) {
      if (problem) *problem = "unknown field {" + std::string(name) + "}";
      return std::nullopt;
    }
    expanded += value->second;
    at = end + 1;
  }
  return expanded;
}

}  // namespace quillsheet
