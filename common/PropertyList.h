// Property-list files: read XML or binary, write XML. In-memory images are
// left out of what is written.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "common/Result.h"
#include "common/Value.h"

namespace quillsheet {

enum class PropertyListError { None, Missing, Unreadable, Malformed, TooManyKeys };

struct PropertyListResult {
  std::optional<Value> value;
  PropertyListError error = PropertyListError::None;
};

// Larger files are not read as property lists.
inline constexpr std::uintmax_t kLargestPropertyList = std::uintmax_t(64) << 20;
// Nor XML ones with more keys: the parser's time grows with their square.
inline constexpr size_t kMostPropertyListKeys = 100000;

// Parses a property list held in memory (XML or binary, detected from the
// bytes). No value for anything that is not one, nests containers more than
// 64 deep, holds a string with a NUL character, or (XML) has more than
// kMostPropertyListKeys keys.
std::optional<Value> ParsePropertyList(std::string_view bytes);

// Reads a whole property-list file. Dates and keyed-archive identifiers have
// no counterpart in Value and are dropped.
PropertyListResult ReadPropertyListFile(const std::filesystem::path& path);

// The XML form of a value.
std::string PropertyListXml(const Value& value);

// Writes the XML form atomically: the file is either the old one or the new
// one, never half written.
Result WritePropertyListFile(const std::filesystem::path& path, const Value& value);

}  // namespace quillsheet
