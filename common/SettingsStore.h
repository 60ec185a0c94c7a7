// The settings file store: whole dictionaries kept as property-list files in
// the preferences folder, under a name made from a format and the bundle
// identifier.
#pragma once

#include <filesystem>
#include <string_view>

#include "common/Result.h"
#include "common/Value.h"

namespace quillsheet {

inline constexpr std::string_view kGeneralPreferencesFileFormat = "%@-Pref.plist";
inline constexpr std::string_view kPresetLibraryFileFormat = "%@-PresetPref.plist";

// The file name for a format: "%@" replaced by the bundle identifier.
std::string SettingsFileName(std::string_view fileNameFormat);
std::filesystem::path SettingsFilePath(std::string_view fileNameFormat);

// Reads the file named by the format. True when a dictionary was stored in
// out; a file that exists but does not hold a dictionary reads as an empty
// one, and problem (when given) then says so in words for people. False,
// with out untouched, when there is no file or no folder.
bool ReadSettingsPlist(Dictionary& out, std::string_view fileNameFormat,
                       std::string* problem = nullptr);

// Writes the dictionary atomically, creating the folder when needed. An
// existing file that cannot be read as a dictionary is first kept beside it
// as "NAME.unreadable-YYYYMMDD-HHMMSS", so the user's data is never lost
// unseen. On failure the old file is untouched and the reason given.
Result WriteSettingsPlist(const Dictionary& dictionary, std::string_view fileNameFormat);

}  // namespace quillsheet
