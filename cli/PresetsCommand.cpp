#include "cli/PresetsCommand.h"

#include <algorithm>
#include <iostream>

#include "cli/Arguments.h"
#include "cli/PresetSource.h"
#include "cli/SettingsJson.h"
#include "common/PropertyList.h"
#include "editor/PresetLibrary.h"
#include "editor/PresetOrder.h"
#include "engine/WatermarkSettings.h"

namespace quillsheet::cli {
namespace {

int Usage(const std::string& message) { return FailUsage(message, kPresetsUsage); }

std::optional<size_t> RowOf(const PresetLibrary& library, const std::string& name) {
  const auto& names = library.waterMarkPresetData();
  const auto found = std::find(names.begin(), names.end(), name);
  if (found == names.end()) return std::nullopt;
  return static_cast<size_t>(found - names.begin());
}

int NoSuchPreset(const std::string& name) {
  return Fail("no preset named \"" + name + "\" in your library");
}

void WarnAboutImage(const PresetLibrary& library) {
  if (!library.lastImageError().empty()) {
    std::cerr << "quillsheet-cli: warning: the preset's picture was not stored: "
              << library.lastImageError() << "\n";
  }
}

int ShowFile(const Arguments& arguments) {
  std::string error;
  const auto preset = ReadPreset(*arguments.Option("file"), arguments.Option("name"), error);
  if (!preset) return Fail(error);
  std::cout << WatermarkSettingsJson(GetPresetSettingsFrom(&*preset)) << "\n";
  return kExitOk;
}

int ListFile(const std::string& file) {
  std::string error;
  const auto library = ReadDictionaryFile(file, error);
  if (!library) return Fail(error);
  for (const std::string& name : PresetNamesInTableOrder(*library)) std::cout << name << "\n";
  return kExitOk;
}

int List(PresetLibrary& library) {
  for (size_t row = 0; row < library.waterMarkPresetData().size(); ++row) {
    std::cout << library.DisplayName(row) << "\n";
  }
  return kExitOk;
}

int Show(PresetLibrary& library, const std::string& name) {
  const auto row = RowOf(library, name);
  if (!row) return NoSuchPreset(name);
  const auto settings = library.GetPresetSettingsForIndex(static_cast<std::int64_t>(*row));
  std::cout << WatermarkSettingsJson(settings) << "\n";
  return kExitOk;
}

int Export(PresetLibrary& library, const std::string& name, const std::string& file) {
  const Dictionary* preset = DictionaryFor(library.allPresetDictionary(), name);
  if (!preset) return NoSuchPreset(name);
  Dictionary exported = *preset;
  exported.erase(std::string(presetkey::kWaterMarkPresetIndex));
  exported.erase(std::string(presetkey::kDirtyFlag));
  const Result written = WritePropertyListFile(file, Value(exported));
  return written.ok() ? kExitOk : Fail(written.message());
}

// Adds one preset from the editor's values; prints the name it was given.
int AddFromValues(PresetLibrary& library, const Dictionary& preset, const std::string& base) {
  library.SetSelection({}, std::nullopt);
  for (const auto& [key, value] : preset) library.setObjectToSelectedPreset(value, key);
  std::string name;
  const Result stored = library.AddToEndOfTable(base, &name);
  if (!stored.ok()) return Fail(stored.message());
  WarnAboutImage(library);
  std::cout << name << "\n";
  return kExitOk;
}

// Imports one preset file, or with all every preset of a library file.
int Import(PresetLibrary& library, const std::string& file, const std::optional<std::string>& as,
           bool all) {
  std::string error;
  auto contents = ReadDictionaryFile(file, error);
  if (!contents) return Fail(error);
  if (!IsPresetLibrary(*contents)) {
    if (all) return Fail(file + " holds one preset; import it without --all");
    return AddFromValues(library, *contents,
                         as.value_or(std::filesystem::path(file).stem().string()));
  }
  if (!all) {
    return Fail(file + " is a preset library; import every preset of it with --all, or one " +
                "with presets export");
  }
  if (as) return Usage("--as names one preset; it does not go with --all");
  for (const std::string& name : PresetNamesInTableOrder(*contents)) {
    if (const int status = AddFromValues(library, *DictionaryFor(*contents, name), name)) {
      return status;
    }
  }
  return kExitOk;
}

int Rename(PresetLibrary& library, const std::string& from, const std::string& to, bool replace) {
  const auto row = RowOf(library, from);
  if (!row) return NoSuchPreset(from);
  library.SelectRowStartingAtRow(static_cast<std::int64_t>(*row));
  switch (library.ValidateRename(*row, to)) {
    case RenameCheck::EmptyName:
      return Fail("a preset needs a name");
    case RenameCheck::NameTaken:
      if (!replace)
        return Fail("a preset named \"" + to + "\" exists; add --replace to replace it");
      break;
    case RenameCheck::Accept:
      break;
  }
  const Result stored = library.CommitRename(*row, to);
  if (!stored.ok()) return Fail(stored.message());
  WarnAboutImage(library);
  return kExitOk;
}

int Remove(PresetLibrary& library, const std::vector<std::string>& names) {
  std::set<size_t> rows;
  for (const std::string& name : names) {
    const auto row = RowOf(library, name);
    if (!row) return NoSuchPreset(name);
    rows.insert(*row);
  }
  const Result stored = library.RemoveRows(rows);
  return stored.ok() ? kExitOk : Fail(stored.message());
}

int OnUserLibrary(const Arguments& arguments) {
  const auto& words = arguments.positional;
  const std::string& command = words.front();
  const size_t count = words.size() - 1;
  const auto wrongCount = [&] { return Usage("wrong number of arguments for presets " + command); };
  PresetLibrary library;
  LoadLibrary(library);
  if (command == "list") return count == 0 ? List(library) : wrongCount();
  if (command == "show") return count == 1 ? Show(library, words[1]) : wrongCount();
  if (command == "export") return count == 2 ? Export(library, words[1], words[2]) : wrongCount();
  if (command == "import") {
    return count == 1
               ? Import(library, words[1], arguments.Option("as"), arguments.flags.count("all") > 0)
               : wrongCount();
  }
  if (command == "rename") {
    return count == 2 ? Rename(library, words[1], words[2], arguments.flags.count("replace"))
                      : wrongCount();
  }
  if (command == "remove") {
    return count >= 1 ? Remove(library, {words.begin() + 1, words.end()}) : wrongCount();
  }
  return Usage("unknown presets command " + command);
}

}  // namespace

int RunPresetsCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto arguments = ParseArguments(words, {"file", "name", "as"}, error);
  if (!arguments) return Usage(error);
  if (AskedForHelp(*arguments, kPresetsUsage)) return kExitOk;
  if (arguments->positional.empty()) return Usage("presets needs a command");
  for (const std::string& flag : arguments->flags) {
    if (flag != "replace" && flag != "all") return Usage("unknown option --" + flag);
  }
  const std::string& command = arguments->positional.front();
  if (const auto file = arguments->Option("file")) {
    if (arguments->positional.size() != 1) return Usage("--file takes no preset names");
    if (command == "show") return ShowFile(*arguments);
    if (command == "list") return ListFile(*file);
    return Usage("--file goes with show and list");
  }
  return OnUserLibrary(*arguments);
}

}  // namespace quillsheet::cli
