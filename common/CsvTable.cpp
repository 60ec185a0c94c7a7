#include "common/CsvTable.h"

namespace quillsheet {
namespace {

// Reads one table while remembering the line, for messages.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
  }

  std::optional<std::vector<CsvRow>> Rows(std::string* problem) {
    std::vector<CsvRow> rows;
    while (at_ < text_.size()) {
      CsvRow row;
      if (!ReadRow(row, problem)) return std::nullopt;
      if (!(row.size() == 1 && row.front().empty())) rows.push_back(std::move(row));
    }
    return rows;
  }

 private:
  // One row, up to and past its line end.
  bool ReadRow(CsvRow& row, std::string* problem) {
    for (;;) {
      std::string field;
      if (!ReadField(field, problem)) return false;
      row.push_back(std::move(field));
      if (at_ >= text_.size()) return true;
      const char next = text_[at_++];
      if (next == ',') continue;
      if (next == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
      ++line_;
      return true;
    }
  }

  // One field, stopping before the comma or line end that ends it.
  bool ReadField(std::string& field, std::string* problem) {
    if (at_ < text_.size() && text_[at_] == '"') return ReadQuoted(field, problem);
    const size_t end = text_.find_first_of(",\r\n", at_);
    const size_t stop = end == std::string_view::npos ? text_.size() : end;
    field.assign(text_.substr(at_, stop - at_));
    at_ = stop;
    return true;
  }

  bool ReadQuoted(std::string& field, std::string* problem) {
    const size_t opened = line_;
    ++at_;
    for (;;) {
      if (at_ >= text_.size()) {
        return Fail(problem, opened, "a quote is not closed");
      }
      const char c = text_[at_++];
      if (c == '\n') ++line_;
      if (c != '"') {
        field += c;
      } else if (at_ < text_.size() && text_[at_] == '"') {
        field += '"';
        ++at_;
      } else {
        break;
      }
    }
    if (at_ < text_.size() && text_.find_first_of(",\r\n", at_) != at_) {
      return Fail(problem, line_, "text follows a closing quote");
    }
    return true;
  }

  static bool Fail(std::string* problem, size_t line, const char* what) {
    if (problem) *problem = "line " + std::to_string(line) + ": " + what;
    return false;
  }

  std::string_view text_;
  size_t at_ = 0;
  size_t line_ = 1;
};

}  // namespace

std::optional<std::vector<CsvRow>> ParseCsv(std::string_view text, std::string* problem) {
  return CsvReader(text).Rows(problem);
}

}  // namespace quillsheet
