// Replacing a file so that readers and crashes only ever see the old or the
// new content.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillsheet {

// Writes the bytes to a temporary file in the target's folder, flushes it to
// disk and renames it over the target. The target keeps its permissions when
// it exists. On failure the target is untouched, the temporary file removed
// and the reason stored in error.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string* error = nullptr);

// Reads a whole file; gives no value when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace quillsheet
