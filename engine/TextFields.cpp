#include "engine/TextFields.h"

#include <set>

#include "common/AtomicFile.h"
#include "common/CsvTable.h"

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

std::optional<std::vector<FieldValues>> ReadFieldsFile(const std::filesystem::path& path,
                                                       std::string* problem) {
  const auto fail = [&](const std::string& why) {
    if (problem) *problem = path.string() + ": " + why;
    return std::nullopt;
  };
  std::string why;
  const auto text = ReadWholeFile(path, &why, std::uintmax_t(64) << 20);
  if (!text) return fail(why);
  const auto table = ParseCsv(*text, &why);
  if (!table) return fail(why);
  if (table->size() < 2) return fail("no row of values under the names");
  const CsvRow& names = table->front();
  std::set<std::string> seen;
  for (const std::string& name : names) {
    if (name.empty() || name.find_first_of("{}") != std::string::npos) {
      return fail("the names row has an empty name or one with a brace");
    }
    if (!seen.insert(name).second) return fail("the name \"" + name + "\" is given twice");
  }
  std::vector<FieldValues> copies;
  for (size_t row = 1; row < table->size(); ++row) {
    const CsvRow& values = (*table)[row];
    if (values.size() > names.size()) {
      return fail("row " + std::to_string(row + 1) + " has " + std::to_string(values.size()) +
                  " values for " + std::to_string(names.size()) + " names");
    }
    FieldValues& copy = copies.emplace_back();
    for (size_t i = 0; i < names.size(); ++i) {
      copy.emplace(names[i], i < values.size() ? values[i] : std::string());
    }
  }
  return copies;
}

}  // namespace quillsheet
