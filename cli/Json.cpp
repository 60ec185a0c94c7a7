#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quillsheet::cli {

std::string JsonString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        quoted += "\\r";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

std::string JsonNumber(double number) {
  if (std::isinf(number)) return number > 0 ? "\"inf\"" : "\"-inf\"";
  if (std::isnan(number)) return "null";
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, number);
  return std::string(text, result.ptr);
}

JsonObject& JsonObject::AddRaw(std::string_view name, std::string_view json) {
  members_ += members_.empty() ? "\n  " : ",\n  ";
  members_ += JsonString(name);
  members_ += ": ";
  members_ += json;
  return *this;
}

JsonObject& JsonObject::Add(std::string_view name, std::string_view text) {
  return AddRaw(name, JsonString(text));
}

JsonObject& JsonObject::Add(std::string_view name, bool flag) {
  return AddRaw(name, flag ? "true" : "false");
}

JsonObject& JsonObject::Add(std::string_view name, long long number) {
  return AddRaw(name, std::to_string(number));
}

JsonObject& JsonObject::Add(std::string_view name, double number) {
  return AddRaw(name, JsonNumber(number));
}

std::string JsonObject::Text() const { return "{" + members_ + "\n}"; }

}  // namespace quillsheet::cli
