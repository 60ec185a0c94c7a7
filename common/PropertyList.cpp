#include "common/PropertyList.h"

#include <plist/plist.h>

#include <cerrno>
#include <limits>
#include <memory>

#include "common/AtomicFile.h"

namespace quillsheet {
namespace {

struct PlistDeleter {
  void operator()(plist_t node) const { plist_free(node); }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

struct MallocDeleter {
  void operator()(char* text) const { std::free(text); }
};
using MallocString = std::unique_ptr<char, MallocDeleter>;

std::optional<Value> FromNode(plist_t node);

Value::Array ArrayFromNode(plist_t node) {
  Value::Array items;
  const uint32_t count = plist_array_get_size(node);
  items.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    if (auto item = FromNode(plist_array_get_item(node, i))) items.push_back(std::move(*item));
  }
  return items;
}

Dictionary DictionaryFromNode(plist_t node) {
  Dictionary entries;
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(node, &iterator);
  if (!iterator) return entries;
  for (;;) {
    char* rawKey = nullptr;
    plist_t item = nullptr;
    plist_dict_next_item(node, iterator, &rawKey, &item);
    MallocString key(rawKey);
    if (!item) break;
    if (!key) continue;
    if (auto value = FromNode(item)) entries.insert_or_assign(key.get(), std::move(*value));
  }
  std::free(iterator);
  return entries;
}

std::optional<Value> FromNode(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t flag = 0;
      plist_get_bool_val(node, &flag);
      return Value(flag != 0);
    }
    case PLIST_UINT: {
      // Integers are stored as 64-bit two's complement; negative numbers come
      // back as large unsigned values.
      uint64_t number = 0;
      plist_get_uint_val(node, &number);
      return Value(static_cast<std::int64_t>(number));
    }
    case PLIST_REAL: {
      double number = 0;
      plist_get_real_val(node, &number);
      return Value(number);
    }
    case PLIST_STRING: {
      char* raw = nullptr;
      plist_get_string_val(node, &raw);
      MallocString text(raw);
      return Value(std::string(text ? text.get() : ""));
    }
    case PLIST_DATA: {
      char* raw = nullptr;
      uint64_t length = 0;
      plist_get_data_val(node, &raw, &length);
      MallocString bytes(raw);
      const auto* begin = reinterpret_cast<const std::uint8_t*>(bytes.get());
      return Value(bytes ? Value::Data(begin, begin + length) : Value::Data{});
    }
    case PLIST_ARRAY:
      return Value(ArrayFromNode(node));
    case PLIST_DICT:
      return Value(DictionaryFromNode(node));
    default:
      return std::nullopt;
  }
}

plist_t ToNode(const Value& value);

plist_t ArrayToNode(const Value::Array& items) {
  plist_t node = plist_new_array();
  for (const Value& item : items) {
    if (plist_t child = ToNode(item)) plist_array_append_item(node, child);
  }
  return node;
}

plist_t DictionaryToNode(const Dictionary& entries) {
  plist_t node = plist_new_dict();
  for (const auto& [key, item] : entries) {
    if (plist_t child = ToNode(item)) plist_dict_set_item(node, key.c_str(), child);
  }
  return node;
}

plist_t ToNode(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Boolean:
      return plist_new_bool(*value.BooleanValue() ? 1 : 0);
    case Value::Kind::Integer:
      return plist_new_uint(static_cast<uint64_t>(*value.IntegerValue()));
    case Value::Kind::Real:
      return plist_new_real(*value.RealValue());
    case Value::Kind::String:
      return plist_new_string(value.StringValue()->c_str());
    case Value::Kind::Data: {
      const Value::Data& bytes = *value.DataValue();
      return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    case Value::Kind::Array:
      return ArrayToNode(*value.ArrayValue());
    case Value::Kind::Dictionary:
      return DictionaryToNode(*value.DictionaryValue());
    case Value::Kind::Image:
      return nullptr;
  }
  return nullptr;
}

}  // namespace

std::optional<Value> ParsePropertyList(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max()) return std::nullopt;
  plist_t raw = nullptr;
  const auto length = static_cast<uint32_t>(bytes.size());
  if (plist_is_binary(bytes.data(), length)) {
    plist_from_bin(bytes.data(), length, &raw);
  } else {
    plist_from_xml(bytes.data(), length, &raw);
  }
  PlistHandle root(raw);
  if (!root) return std::nullopt;
  return FromNode(root.get());
}

PropertyListResult ReadPropertyListFile(const std::filesystem::path& path) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return {std::nullopt, PropertyListError::Missing};
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return {std::nullopt, PropertyListError::Unreadable};
  auto value = ParsePropertyList(*bytes);
  if (!value) return {std::nullopt, PropertyListError::Malformed};
  return {std::move(value), PropertyListError::None};
}

std::string PropertyListXml(const Value& value) {
  PlistHandle root(ToNode(value));
  if (!root) root.reset(plist_new_dict());
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(root.get(), &xml, &length);
  std::string text(xml ? xml : "", xml ? length : 0);
  plist_to_xml_free(xml);
  return text;
}

bool WritePropertyListFile(const std::filesystem::path& path, const Value& value,
                           std::string* error) {
  return WriteFileAtomically(path, PropertyListXml(value), error);
}

}  // namespace quillsheet
