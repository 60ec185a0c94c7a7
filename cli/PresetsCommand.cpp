#include "cli/PresetsCommand.h"

#include <iostream>

#include "cli/Arguments.h"
#include "cli/PresetSource.h"
#include "cli/SettingsJson.h"
#include "editor/PresetOrder.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet::cli {
namespace {

int Show(const Arguments& arguments) {
  const auto file = arguments.Option("file");
  if (!file) return FailUsage("presets show needs --file", kPresetsUsage);
  std::string error;
  const auto preset = ReadPreset(*file, arguments.Option("name"), error);
  if (!preset) return Fail(error);
  std::cout << WatermarkSettingsJson(GetPresetSettingsFrom(&*preset)) << "\n";
  return kExitOk;
}

int List(const Arguments& arguments) {
  const auto file = arguments.Option("file");
  if (!file) return FailUsage("presets list needs --file", kPresetsUsage);
  std::string error;
  const auto library = ReadDictionaryFile(*file, error);
  if (!library) return Fail(error);
  for (const std::string& name : PresetNamesInTableOrder(*library)) std::cout << name << "\n";
  return kExitOk;
}

}  // namespace

int RunPresetsCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto arguments = ParseArguments(words, {"file", "name"}, error);
  if (!arguments) return FailUsage(error, kPresetsUsage);
  if (arguments->positional.empty()) return FailUsage("presets needs a command", kPresetsUsage);
  if (!arguments->flags.empty()) {
    return FailUsage("unknown option --" + *arguments->flags.begin(), kPresetsUsage);
  }
  const std::string& command = arguments->positional.front();
  if (arguments->positional.size() > 1) {
    return FailUsage("unexpected argument " + arguments->positional[1], kPresetsUsage);
  }
  if (command == "show") return Show(*arguments);
  if (command == "list") return List(*arguments);
  return FailUsage("unknown presets command " + command, kPresetsUsage);
}

}  // namespace quillsheet::cli
