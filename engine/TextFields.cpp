#include "engine/TextFields.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "common/AtomicFile.h"
#include "common/CsvTable.h"

namespace quillsheet {

namespace {

// Fills in the fields. Strict: a field without a value or a lone brace is a
// failure; otherwise they are kept as written, and the names of fields
// without a value are added to *unknown (when given).
std::optional<std::string> Expand(std::string_view text, const FieldValues& values, bool strict,
                                  std::string* problem,
                                  std::vector<std::string>* unknown = nullptr) {
  const auto fail = [&](std::string why, std::string_view asWritten, std::string& expanded) {
    if (strict) {
      if (problem) *problem = std::move(why);
      return false;
    }
    expanded += asWritten;
    return true;
  };
  std::string expanded;
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    if ((c == '{' || c == '}') && at + 1 < text.size() && text[at + 1] == c) {
      expanded += c;
      at += 2;
      continue;
    }
    if (c != '{' && c != '}') {
      expanded += c;
      ++at;
      continue;
    }
    const size_t end = c == '{' ? text.find('}', at) : std::string_view::npos;
    if (c == '}' || end == std::string_view::npos) {
      if (!fail(c == '}' ? "a lone } in the text (write }} for a brace)"
                         : "a { without its } in the text (write {{ for a brace)",
                text.substr(at, 1), expanded)) {
        return std::nullopt;
      }
      ++at;
      continue;
    }
    const std::string_view name = text.substr(at + 1, end - at - 1);
    const auto value = values.find(name);
    if (value != values.end()) {
      expanded += value->second;
    } else if (unknown && !strict) {
      if (std::find(unknown->begin(), unknown->end(), name) == unknown->end()) {
        unknown->emplace_back(name);
      }
      expanded += text.substr(at, end + 1 - at);
    } else if (!fail("unknown field {" + std::string(name) + "}", text.substr(at, end + 1 - at),
                     expanded)) {
      return std::nullopt;
    }
    at = end + 1;
  }
  return expanded;
}

std::string LocalNow(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

}  // namespace

std::optional<std::string> ExpandTextFields(std::string_view text, const FieldValues& values,
                                            std::string* problem) {
  return Expand(text, values, true, problem);
}

std::string PreviewTextFields(std::string_view text, const FieldValues& values) {
  return *Expand(text, values, false, nullptr);
}

void AddFieldsWithoutValue(std::string_view text, const FieldValues& values,
                           std::vector<std::string>& names) {
  Expand(text, values, false, nullptr, &names);
}

void AddDocumentFields(FieldValues& values, const std::filesystem::path& source,
                       std::string_view preset, const FieldTime& when) {
  values.insert_or_assign("file", source.stem().string());
  values.insert_or_assign("preset", std::string(preset));
  values.insert_or_assign("date", when.date);
  values.insert_or_assign("time", when.time);
}

void AddPageFields(FieldValues& values, std::uint64_t page, std::uint64_t pages,
                   std::string label) {
  values.insert_or_assign(std::string(kPageField), std::to_string(page));
  values.insert_or_assign(std::string(kPagesField), std::to_string(pages));
  values.insert_or_assign(std::string(kLabelField), std::move(label));
}

FieldTime FieldTime::Now() { return {LocalNow("%Y-%m-%d"), LocalNow("%H:%M:%S")}; }

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
