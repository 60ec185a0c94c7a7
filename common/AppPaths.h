// Where Quillsheet keeps its files on a Linux desktop.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/Result.h"

namespace quillsheet {

// Reverse-domain name of the application; it fills the "%@" of the settings
// file names ("org.quillsheet.Quillsheet-Pref.plist").
inline constexpr std::string_view kBundleIdentifier = "org.quillsheet.Quillsheet";

// The folder that holds the two settings files: "quillsheet" inside the
// user's configuration directory (XDG_CONFIG_HOME, else ~/.config). Empty when
// the system names no such directory.
std::filesystem::path PreferencesFolder();

// The user's data directory (XDG_DATA_HOME, else ~/.local/share); the
// application keeps its own sub-folders there. Empty when there is none.
std::filesystem::path ApplicationSupportDirectory();

// The named sub-folder of the application-support directory, created when
// missing. No value, with the reason in error, when it cannot be had.
std::optional<std::filesystem::path> GetApplicationSupportFolder(std::string_view name,
                                                                 std::string* error = nullptr);

// The folder of the bundled resources (default presets, patterns, filters):
// the QUILLSHEET_RESOURCES environment variable when set, else
// ../share/quillsheet beside the running program (an installed tree moved
// anywhere), else the install prefix it was built for, else the source tree
// it was built from.
std::filesystem::path ResourceFolder();

// Fails, naming the folder, when ResourceFolder() does not exist.
Result CheckResourceFolder();

}  // namespace quillsheet
