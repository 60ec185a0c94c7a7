#include "output/SaveRestoreScanner.h"

namespace quillsheet {
namespace {

bool IsWhite(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
         c == '}' || c == '/' || c == '%';
}

}  // namespace

SaveRestoreCount CountSaveRestore(std::string_view content, const CancelFlag* cancel) {
  SaveRestoreCount count;
  size_t at = 0;
  const size_t end = content.size();
  size_t nextPoll = 0;
  // Every branch below moves `at` forward by at least one byte.
  while (at < end) {
    if (at >= nextPoll) {
      if (IsCancelled(cancel)) break;
      nextPoll = at + (1 << 20);
    }
    const char c = content[at];
    if (IsWhite(c)) {
      ++at;
    } else if (c == '%') {
      while (at < end && content[at] != '\n' && content[at] != '\r') ++at;
    } else if (c == '(') {
      int nesting = 0;
      for (; at < end; ++at) {
        if (content[at] == '\\') {
          ++at;
        } else if (content[at] == '(') {
          ++nesting;
        } else if (content[at] == ')' && --nesting == 0) {
          ++at;
          break;
        }
      }
    } else if (c == '<' && at + 1 < end && content[at + 1] != '<') {
      const size_t close = content.find('>', at);
      at = close == std::string_view::npos ? end : close + 1;
    } else if (IsDelimiter(c)) {
      ++at;
      if (c == '/') {
        while (at < end && !IsWhite(content[at]) && !IsDelimiter(content[at])) ++at;
      }
    } else {
      const size_t start = at;
      while (at < end && !IsWhite(content[at]) && !IsDelimiter(content[at])) ++at;
      const std::string_view word = content.substr(start, at - start);
      if (word == "q") {
        ++count.depth;
      } else if (word == "Q") {
        count.depth > 0 ? --count.depth : ++count.unmatchedRestores;
      } else if (word == "ID") {
        // Inline image data runs to "EI" standing alone.
        for (++at; at + 2 <= end; ++at) {
          if (content.compare(at, 2, "EI") == 0 && IsWhite(content[at - 1]) &&
              (at + 2 == end || IsWhite(content[at + 2]) || IsDelimiter(content[at + 2]))) {
            at += 2;
            break;
          }
        }
      }
    }
  }
  return count;
}

}  // namespace quillsheet
