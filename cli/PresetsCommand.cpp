#include "cli/PresetsCommand.h"

#include <iostream>

#include "cli/Arguments.h"
#include "cli/SettingsJson.h"
#include "common/PropertyList.h"
#include "editor/PresetOrder.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet::cli {
namespace {

int UsageError(const std::string& message) {
  std::cerr << "quillsheet-cli: " << message << "\n" << kPresetsUsage;
  return kExitUsage;
}

int Failure(const std::string& message) {
  std::cerr << "quillsheet-cli: " << message << "\n";
  return kExitFailure;
}

// Reads a file that must hold one dictionary.
std::optional<Dictionary> ReadDictionaryFile(const std::string& path, std::string& error) {
  const PropertyListResult read = ReadPropertyListFile(path);
  switch (read.error) {
    case PropertyListError::Missing:
      error = "no such file: " + path;
      return std::nullopt;
    case PropertyListError::Unreadable:
      error = "cannot read " + path;
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

int Show(const Arguments& arguments) {
  const auto file = arguments.Option("file");
  if (!file) return UsageError("presets show needs --file");
  std::string error;
  const auto dictionary = ReadDictionaryFile(*file, error);
  if (!dictionary) return Failure(error);

  const Dictionary* preset = &*dictionary;
  if (const auto name = arguments.Option("name")) {
    preset = DictionaryFor(*dictionary, *name);
    if (!preset) return Failure("no preset named \"" + *name + "\" in " + *file);
  }
  std::cout << WatermarkSettingsJson(GetPresetSettingsFrom(preset)) << "\n";
  return kExitOk;
}

int List(const Arguments& arguments) {
  const auto file = arguments.Option("file");
  if (!file) return UsageError("presets list needs --file");
  std::string error;
  const auto library = ReadDictionaryFile(*file, error);
  if (!library) return Failure(error);
  for (const std::string& name : PresetNamesInTableOrder(*library)) std::cout << name << "\n";
  return kExitOk;
}

}  // namespace

int RunPresetsCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto arguments = ParseArguments(words, {"file", "name"}, error);
  if (!arguments) return UsageError(error);
  if (arguments->positional.empty()) return UsageError("presets needs a command");
  if (!arguments->flags.empty()) {
    return UsageError("unknown option --" + *arguments->flags.begin());
  }
  const std::string& command = arguments->positional.front();
  if (arguments->positional.size() > 1) {
    return UsageError("unexpected argument " + arguments->positional[1]);
  }
  if (command == "show") return Show(*arguments);
  if (command == "list") return List(*arguments);
  return UsageError("unknown presets command " + command);
}

}  // namespace quillsheet::cli
