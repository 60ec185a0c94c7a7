#include "common/SettingsStore.h"

#include <ctime>

#include "common/AppPaths.h"
#include "common/PropertyList.h"

namespace quillsheet {
namespace {

bool EnsureFolder(const std::filesystem::path& folder) {
  if (folder.empty()) return false;
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  return !failure && std::filesystem::is_directory(folder, failure);
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

bool KeepUnreadableFile(const std::filesystem::path& file) {
  auto kept = file;
  kept += ".unreadable-" + TimeStamp();
  std::error_code failure;
  std::filesystem::rename(file, kept, failure);
  return !failure;
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

bool ReadSettingsPlist(Dictionary& out, std::string_view fileNameFormat) {
  if (!EnsureFolder(PreferencesFolder())) return false;
  const PropertyListResult read = ReadPropertyListFile(SettingsFilePath(fileNameFormat));
  if (read.error == PropertyListError::Missing) return false;
  const Dictionary* dictionary = read.value ? read.value->DictionaryValue() : nullptr;
  out = dictionary ? *dictionary : Dictionary{};
  return true;
}

bool WriteSettingsPlist(const Dictionary& dictionary, std::string_view fileNameFormat) {
  if (!EnsureFolder(PreferencesFolder())) return false;
  const auto file = SettingsFilePath(fileNameFormat);
  if (HoldsUnreadableSettings(file) && !KeepUnreadableFile(file)) return false;
  return WritePropertyListFile(file, Value(dictionary));
}

}  // namespace quillsheet
