// Property-list files: read XML or binary, write XML. In-memory images are
// left out of what is written.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "common/Value.h"

namespace quillsheet {

enum class PropertyListError { None, Missing, Unreadable, Malformed };

struct PropertyListResult {
  std::optional<Value> value;
  PropertyListError error = PropertyListError::None;
};

// Parses a property list held in memory (XML or binary, detected from the bytes).
std::optional<Value> ParsePropertyList(std::string_view bytes);

// Reads a whole property-list file. Dates and keyed-archive identifiers have
// no counterpart in Value and are dropped.
PropertyListResult ReadPropertyListFile(const std::filesystem::path& path);

// The XML form of a value.
std::string PropertyListXml(const Value& value);

// Writes the XML form atomically: the file is either the old one or the new
// one, never half written.
bool WritePropertyListFile(const std::filesystem::path& path, const Value& value,
                           std::string* error = nullptr);

}  // namespace quillsheet
