#include "cli/PresetSource.h"

#include <iostream>

#include "common/PropertyList.h"
#include "editor/PresetOrder.h"

namespace quillsheet::cli {

void LoadLibrary(PresetLibrary& library) {
  if (const Result loaded = library.Load(); !loaded.ok()) {
    std::cerr << "quillsheet-cli: warning: your preset library: " << loaded.message() << "\n";
  }
}

std::optional<Dictionary> ReadDictionaryFile(const std::string& path, std::string& error) {
  const PropertyListResult read = ReadPropertyListFile(path);
  switch (read.error) {
    case PropertyListError::Missing:
      error = "no such file: " + path;
      return std::nullopt;
    case PropertyListError::Unreadable:
      error = "cannot read " + path;
      return std::nullopt;
    case PropertyListError::TooManyKeys:
      error = path + " has more than " + std::to_string(kMostPropertyListKeys) + " keys";
      return std::nullopt;
    case PropertyListError::Malformed:
      error = path + " is not a property list";
      return std::nullopt;
    case PropertyListError::None:
      break;
  }
  if (const Dictionary* dictionary = read.value->DictionaryValue()) return *dictionary;
  error = path + " does not hold a dictionary";
  return std::nullopt;
}

std::optional<Dictionary> ReadPreset(const std::string& path,
                                     const std::optional<std::string>& name, std::string& error) {
  auto file = ReadDictionaryFile(path, error);
  if (!file) return file;
  if (!name) {
    if (!IsPresetLibrary(*file)) return file;
    error = path + " is a preset library; choose a preset with --name";
    return std::nullopt;
  }
  if (const Dictionary* preset = DictionaryFor(*file, *name)) return *preset;
  error = "no preset named \"" + *name + "\" in " + path;
  return std::nullopt;
}

}  // namespace quillsheet::cli
