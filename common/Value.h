// A value of a preset or preferences dictionary: the property-list kinds plus
// an in-memory image that lives only while the program runs.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class QImage;

namespace quillsheet {

class Value {
 public:
  using Data = std::vector<std::uint8_t>;
  using Array = std::vector<Value>;
  using Dictionary = std::map<std::string, Value, std::less<>>;
  // Shared because presets are copied freely and an image is large; never
  // written to a property-list file.
  using Image = std::shared_ptr<const QImage>;

  enum class Kind { Boolean, Integer, Real, String, Data, Array, Dictionary, Image };

  Value() : storage_(Dictionary{}) {}
  Value(bool value) : storage_(value) {}
  Value(int value) : storage_(std::int64_t{value}) {}
  Value(std::int64_t value) : storage_(value) {}
  Value(double value) : storage_(value) {}
  Value(const char* value) : storage_(std::string(value)) {}
  Value(std::string value) : storage_(std::move(value)) {}
  Value(Data value) : storage_(std::move(value)) {}
  Value(Array value) : storage_(std::move(value)) {}
  Value(Dictionary value) : storage_(std::move(value)) {}
  Value(Image value) : storage_(std::move(value)) {}

  Kind kind() const { return static_cast<Kind>(storage_.index()); }
  bool IsNumber() const;

  // A number read the way the stored kind allows: booleans count as 0 and 1,
  // reals are truncated towards zero and clamped to the 64-bit range. Any
  // other kind, and a real that is not finite, gives no value.
  std::optional<std::int64_t> IntegerValue() const;
  std::optional<double> RealValue() const;
  std::optional<bool> BooleanValue() const;

  const std::string* StringValue() const { return std::get_if<std::string>(&storage_); }
  const Data* DataValue() const { return std::get_if<Data>(&storage_); }
  const Array* ArrayValue() const { return std::get_if<Array>(&storage_); }
  const Dictionary* DictionaryValue() const { return std::get_if<Dictionary>(&storage_); }
  Dictionary* DictionaryValue() { return std::get_if<Dictionary>(&storage_); }
  const Image* ImageValue() const { return std::get_if<Image>(&storage_); }

  // Images compare by identity; everything else by content.
  bool operator==(const Value& other) const = default;

 private:
  std::variant<bool, std::int64_t, double, std::string, Data, Array, Dictionary, Image> storage_;
};

using Dictionary = Value::Dictionary;

// Lookups that treat a missing key and a value of the wrong kind alike: both
// give no value, so the caller's default applies.
const Value* Find(const Dictionary& dictionary, std::string_view key);
std::optional<std::int64_t> IntegerFor(const Dictionary& dictionary, std::string_view key);
std::optional<double> RealFor(const Dictionary& dictionary, std::string_view key);
std::optional<bool> BooleanFor(const Dictionary& dictionary, std::string_view key);
const std::string* StringFor(const Dictionary& dictionary, std::string_view key);
const Dictionary* DictionaryFor(const Dictionary& dictionary, std::string_view key);

}  // namespace quillsheet
