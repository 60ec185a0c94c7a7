#include "common/Value.h"

#include <cmath>
#include <limits>

namespace quillsheet {

bool Value::IsNumber() const {
  const Kind k = kind();
  return k == Kind::Boolean || k == Kind::Integer || k == Kind::Real;
}

std::optional<std::int64_t> Value::IntegerValue() const {
  if (const auto* b = std::get_if<bool>(&storage_)) return *b ? 1 : 0;
  if (const auto* i = std::get_if<std::int64_t>(&storage_)) return *i;
  if (const auto* r = std::get_if<double>(&storage_)) {
    if (!std::isfinite(*r)) return std::nullopt;
    constexpr double kLimit = 9223372036854775807.0;  // 2^63
    if (*r >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (*r <= -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(*r);
  }
  return std::nullopt;
}

std::optional<double> Value::RealValue() const {
  if (const auto* b = std::get_if<bool>(&storage_)) return *b ? 1.0 : 0.0;
  if (const auto* i = std::get_if<std::int64_t>(&storage_)) return static_cast<double>(*i);
  if (const auto* r = std::get_if<double>(&storage_)) return *r;
  return std::nullopt;
}

std::optional<bool> Value::BooleanValue() const {
  if (const auto* b = std::get_if<bool>(&storage_)) return *b;
  if (const auto* i = std::get_if<std::int64_t>(&storage_)) return *i != 0;
  if (const auto* r = std::get_if<double>(&storage_)) return *r != 0.0;
  return std::nullopt;
}

const Value* Find(const Dictionary& dictionary, std::string_view key) {
  const auto found = dictionary.find(key);
  return found == dictionary.end() ? nullptr : &found->second;
}

std::optional<std::int64_t> IntegerFor(const Dictionary& dictionary, std::string_view key) {
  const Value* value = Find(dictionary, key);
  return value ? value->IntegerValue() : std::nullopt;
}

std::optional<double> RealFor(const Dictionary& dictionary, std::string_view key) {
  const Value* value = Find(dictionary, key);
  return value ? value->RealValue() : std::nullopt;
}

std::optional<bool> BooleanFor(const Dictionary& dictionary, std::string_view key) {
  const Value* value = Find(dictionary, key);
  return value ? value->BooleanValue() : std::nullopt;
}

const std::string* StringFor(const Dictionary& dictionary, std::string_view key) {
  const Value* value = Find(dictionary, key);
  return value ? value->StringValue() : nullptr;
}

const Dictionary* DictionaryFor(const Dictionary& dictionary, std::string_view key) {
  const Value* value = Find(dictionary, key);
  return value ? value->DictionaryValue() : nullptr;
}

}  // namespace quillsheet
