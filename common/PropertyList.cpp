#include "common/PropertyList.h"

#include <plist/plist.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

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

// Deeper nesting than any settings file needs; libplist's parsers recurse
// without a limit, so deeper files are refused before they reach it.
constexpr int kMaxNesting = 64;

// The nesting of an XML property list, counted over its container tags.
bool XmlNestingWithinLimit(std::string_view text) {
  int depth = 0;
  for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<!--")) {
      at = text.find("-->", at);
      if (at == std::string_view::npos) return true;
    } else if (rest.starts_with("</array") || rest.starts_with("</dict")) {
      --depth;
    } else if (rest.starts_with("<array") || rest.starts_with("<dict")) {
      const size_t close = rest.find('>');
      if (close != std::string_view::npos && close > 0 && rest[close - 1] == '/') continue;
      if (++depth > kMaxNesting) return false;
    }
  }
  return true;
}

// Whether an XML property list has more keys than may be parsed.
bool TooManyXmlKeys(std::string_view text) {
  size_t keys = 0;
  for (size_t at = text.find("<key>"); at != std::string_view::npos;
       at = text.find("<key>", at + 5)) {
    if (++keys > kMostPropertyListKeys) return true;
  }
  return false;
}

// Checks a binary property list before libplist sees it: the nesting of its
// containers stays within the limit and no string holds a NUL character
// (libplist's getters assert on those). Walks the object table without
// recursion; a table that does not hold together is refused as well.
class BinaryPlistCheck {
 public:
  explicit BinaryPlistCheck(std::string_view bytes) : bytes_(bytes) {}

  bool Passes() {
    if (bytes_.size() < 40) return false;
    const size_t trailer = bytes_.size() - 32;
    offsetSize_ = static_cast<unsigned char>(bytes_[trailer + 6]);
    refSize_ = static_cast<unsigned char>(bytes_[trailer + 7]);
    std::uint64_t count = 0, top = 0, table = 0;
    if (!Number(trailer + 8, 8, count) || !Number(trailer + 16, 8, top) ||
        !Number(trailer + 24, 8, table)) {
      return false;
    }
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8 || top >= count ||
        count > bytes_.size() || table > trailer || (trailer - table) / offsetSize_ < count) {
      return false;
    }
    objectCount_ = count;
    table_ = table;
    depthSeen_.assign(count, -1);
    std::vector<std::pair<std::uint64_t, int>> pending{{top, 1}};
    while (!pending.empty()) {
      const auto [object, depth] = pending.back();
      pending.pop_back();
      if (depth > kMaxNesting) return false;
      if (depthSeen_[object] >= depth) continue;
      depthSeen_[object] = depth;
      if (!Visit(object, depth, pending)) return false;
    }
    return true;
  }

 private:
  bool Number(size_t at, size_t width, std::uint64_t& value) const {
    if (width > 8 || at > bytes_.size() || bytes_.size() - at < width) return false;
    value = 0;
    for (size_t i = 0; i < width; ++i)
      value = value << 8 | static_cast<unsigned char>(bytes_[at + i]);
    return true;
  }

  // The element count of a string or container object and where its
  // contents start.
  bool Length(size_t at, std::uint64_t& length, size_t& contents) const {
    length = static_cast<unsigned char>(bytes_[at]) & 0x0F;
    contents = at + 1;
    if (length != 0x0F) return true;
    if (contents >= bytes_.size()) return false;
    const unsigned char marker = static_cast<unsigned char>(bytes_[contents]);
    if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3) return false;
    const size_t width = size_t{1} << (marker & 0x0F);
    if (!Number(contents + 1, width, length)) return false;
    contents += 1 + width;
    return true;
  }

  bool Visit(std::uint64_t object, int depth,
             std::vector<std::pair<std::uint64_t, int>>& pending) const {
    std::uint64_t offset = 0;
    if (!Number(table_ + object * offsetSize_, offsetSize_, offset) || offset >= table_) {
      return false;
    }
    const unsigned kind = static_cast<unsigned char>(bytes_[offset]) >> 4;
    if (kind != 0x5 && kind != 0x6 && kind != 0xA && kind != 0xD) return true;
    std::uint64_t length = 0;
    size_t contents = 0;
    if (!Length(offset, length, contents)) return false;
    const std::uint64_t unit = kind == 0x5 ? 1 : kind == 0x6 ? 2 : refSize_;
    const std::uint64_t items = kind == 0xD ? length * 2 : length;
    if (items > bytes_.size() || items * unit > bytes_.size() - contents) return false;
    if (kind == 0x5) return std::memchr(bytes_.data() + contents, 0, items) == nullptr;
    if (kind == 0x6) {
      for (std::uint64_t i = 0; i < items; ++i) {
        if (bytes_[contents + 2 * i] == 0 && bytes_[contents + 2 * i + 1] == 0) return false;
      }
      return true;
    }
    for (std::uint64_t i = 0; i < items; ++i) {
      std::uint64_t child = 0;
      if (!Number(contents + i * refSize_, refSize_, child) || child >= objectCount_) return false;
      pending.emplace_back(child, depth + 1);
    }
    return true;
  }

  std::string_view bytes_;
  unsigned offsetSize_ = 0;
  unsigned refSize_ = 0;
  std::uint64_t objectCount_ = 0;
  std::uint64_t table_ = 0;
  std::vector<int> depthSeen_;
};

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
      std::uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return Value(std::string(text ? text : "", text ? length : 0));
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
    if (!BinaryPlistCheck(bytes).Passes()) return std::nullopt;
    plist_from_bin(bytes.data(), length, &raw);
  } else {
    if (!XmlNestingWithinLimit(bytes) || TooManyXmlKeys(bytes)) return std::nullopt;
    plist_from_xml(bytes.data(), length, &raw);
  }
  PlistHandle root(raw);
  if (!root) return std::nullopt;
  return FromNode(root.get());
}

PropertyListResult ReadPropertyListFile(const std::filesystem::path& path) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return {std::nullopt, PropertyListError::Missing};
  const auto bytes = ReadWholeFile(path, nullptr, kLargestPropertyList);
  if (!bytes) return {std::nullopt, PropertyListError::Unreadable};
  auto value = ParsePropertyList(*bytes);
  if (!value) {
    return {std::nullopt,
            TooManyXmlKeys(*bytes) ? PropertyListError::TooManyKeys : PropertyListError::Malformed};
  }
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

Result WritePropertyListFile(const std::filesystem::path& path, const Value& value) {
  return WriteFileAtomically(path, PropertyListXml(value));
}

}  // namespace quillsheet
