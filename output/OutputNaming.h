// Names of the output files of a conversion run.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "common/GeneralPreferences.h"

namespace quillsheet {

// A name made safe to stand as one path component: "/" and control
// characters are replaced by "_", and "", "." and ".." become "_", so no
// preset or file name can lead outside the destination folder.
std::string SafeNameComponent(const std::string& name);

// The output base name: preset name before or after the source name, joined
// by the separator, or the source name alone.
std::string GetFullFileNameForPresetIndex(const std::string& presetName, LabelPosition position,
                                          const std::string& separator,
                                          const std::string& sourceBaseName);

// folder/base.pdf, or, unless replacing, the first of base1.pdf, base2.pdf,
// ... at which nothing exists and which no earlier output of the run took.
std::filesystem::path OutputPathInFolder(const std::filesystem::path& folder,
                                         const std::string& base, bool replace,
                                         const std::set<std::filesystem::path>& taken);

// The preset's sub-folder of the destination: parent/name, or, when a plain
// file stands there, parent/name1, name2, ...; created when missing.
std::filesystem::path GetDestURLWithPresetName(const std::string& presetName,
                                               const std::filesystem::path& parent);

}  // namespace quillsheet
