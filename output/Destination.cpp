#include "output/Destination.h"

#include "output/ConversionDriver.h"

namespace quillsheet {

bool DestinationIsFolder(const std::string& destination, size_t presetCount, size_t inputCount,
                         bool firstInputIsFolder, size_t copyCount) {
  std::error_code ignored;
  if (destination.ends_with('/') || std::filesystem::is_directory(destination, ignored)) {
    return true;
  }
  return !DestinationIsFile(presetCount, inputCount, copyCount) || firstInputIsFolder;
}

std::optional<std::string> DestinationProblem(const std::filesystem::path& destination,
                                              bool toFolder, bool replace) {
  std::error_code ignored;
  if (!toFolder && !replace && std::filesystem::exists(destination, ignored)) {
    return destination.string() + " exists";
  }
  return std::nullopt;
}

std::optional<std::string> PrepareDestination(const std::filesystem::path& destination,
                                              bool toFolder) {
  std::error_code failure;
  const std::filesystem::path folder = toFolder ? destination : destination.parent_path();
  if (folder.empty() || std::filesystem::is_directory(folder, failure)) return std::nullopt;
  std::filesystem::create_directories(folder, failure);
  if (failure) return "cannot create the folder " + folder.string() + ": " + failure.message();
  return std::nullopt;
}

}  // namespace quillsheet
