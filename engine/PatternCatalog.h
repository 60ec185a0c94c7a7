// The fill patterns shipped with the application: the list "icons" and the
// images it names, in the resource folder's "patterns" sub-folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillsheet {

// The names of the pattern list, in its order; empty when it cannot be read.
std::vector<std::string> PatternNames();

// The pattern picker's initial choice: the first name of the list (empty
// without a list). Read once.
const std::string& InitialPatternName();

// The image file of a pattern: the name as given, else with ".png". No value
// when there is none, or when the name would lead outside the folder.
std::optional<std::filesystem::path> PatternImageFile(const std::string& name);

}  // namespace quillsheet
