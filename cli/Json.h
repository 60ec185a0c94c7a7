// A small writer for the JSON the command line prints.
#pragma once

#include <string>
#include <string_view>

namespace quillsheet::cli {

// Builds one JSON object, one member per line, in the order members are added.
class JsonObject {
 public:
  JsonObject& Add(std::string_view name, std::string_view text);  // a string
  JsonObject& Add(std::string_view name, bool flag);
  JsonObject& Add(std::string_view name, long long number);
  JsonObject& Add(std::string_view name, double number);  // "inf" for infinities
  JsonObject& AddRaw(std::string_view name, std::string_view json);
  std::string Text() const;

 private:
  std::string members_;
};

std::string JsonString(std::string_view text);
std::string JsonNumber(double number);

}  // namespace quillsheet::cli
