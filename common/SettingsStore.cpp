#include "common/SettingsStore.h"

#include <ctime>

#include "common/AppPaths.h"
#include "common/PropertyList.h"

namespace quillsheet {
namespace {

Result EnsureFolder(const std::filesystem::path& folder) {
  if (folder.empty()) return Result::Failed("there is no folder for settings (is HOME set?)");
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  if (!failure && std::filesystem::is_directory(folder, failure)) return Result::Ok();
  return Result::Failed("cannot create the settings folder " + folder.string() + ": " +
                        (failure ? failure.message() : "a file is in the way"));
}

bool HoldsUnreadableSettings(const std::filesystem::path& file) {
  const PropertyListResult read = ReadPropertyListFile(file);
  if (read.error == PropertyListError::Missing) return false;
  return !read.value || !read.value->DictionaryValue();
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

Result KeepUnreadableFile(const std::filesystem::path& file) {
  auto kept = file;
  kept += ".unreadable-" + TimeStamp();
  std::error_code failure;
  std::filesystem::rename(file, kept, failure);
  if (!failure) return Result::Ok();
  return Result::Failed("cannot keep the unreadable " + file.string() + ": " + failure.message());
}

}  // namespace

std::string SettingsFileName(std::string_view fileNameFormat) {
  std::string name(fileNameFormat);
  if (const auto at = name.find("%@"); at != std::string::npos) {
    name.replace(at, 2, kBundleIdentifier);
  }
  return name;
}

std::filesystem::path SettingsFilePath(std::string_view fileNameFormat) {
  const auto folder = PreferencesFolder();
  return folder.empty() ? folder : folder / SettingsFileName(fileNameFormat);
}

bool ReadSettingsPlist(Dictionary& out, std::string_view fileNameFormat, std::string* problem) {
  if (!EnsureFolder(PreferencesFolder()).ok()) return false;
  const auto file = SettingsFilePath(fileNameFormat);
  const PropertyListResult read = ReadPropertyListFile(file);
  if (read.error == PropertyListError::Missing) return false;
  const Dictionary* dictionary = read.value ? read.value->DictionaryValue() : nullptr;
  out = dictionary ? *dictionary : Dictionary{};
  if (!dictionary && problem) {
    *problem = "could not read " + file.string() + "; using defaults; it will be kept as " +
               file.filename().string() + ".unreadable-DATE when the settings are next saved";
  }
  return true;
}

Result WriteSettingsPlist(const Dictionary& dictionary, std::string_view fileNameFormat) {
  if (Result folder = EnsureFolder(PreferencesFolder()); !folder.ok()) return folder;
  const auto file = SettingsFilePath(fileNameFormat);
  if (HoldsUnreadableSettings(file)) {
    if (Result kept = KeepUnreadableFile(file); !kept.ok()) return kept;
  }
  return WritePropertyListFile(file, Value(dictionary));
}

}  // namespace quillsheet
