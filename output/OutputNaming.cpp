#include "output/OutputNaming.h"

namespace quillsheet {

std::string SafeNameComponent(const std::string& name) {
  std::string safe = name;
  for (char& c : safe) {
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  }
  if (safe.empty() || safe == "." || safe == "..") return "_";
  return safe;
}

std::string GetFullFileNameForPresetIndex(const std::string& presetName, LabelPosition position,
                                          const std::string& separator,
                                          const std::string& sourceBaseName) {
  switch (position) {
    case LabelPosition::BeforeFileName:
      return SafeNameComponent(presetName + separator + sourceBaseName);
    case LabelPosition::AfterFileName:
      return SafeNameComponent(sourceBaseName + separator + presetName);
    case LabelPosition::None:
      break;
  }
  return SafeNameComponent(sourceBaseName);
}

std::filesystem::path OutputPathInFolder(const std::filesystem::path& folder,
                                         const std::string& base, bool replace,
                                         const std::set<std::filesystem::path>& taken) {
  const auto candidate = [&](const std::string& name) { return folder / (name + ".pdf"); };
  const auto free = [&](const std::filesystem::path& path) {
    std::error_code ignored;
    return !taken.count(path) && !std::filesystem::exists(path, ignored);
  };
  std::filesystem::path path = candidate(base);
  if (replace && !taken.count(path)) return path;
  for (long number = 1; !free(path); ++number) path = candidate(base + std::to_string(number));
  return path;
}

std::filesystem::path GetDestURLWithPresetName(const std::string& presetName,
                                               const std::filesystem::path& parent) {
  const std::string name = SafeNameComponent(presetName);
  std::filesystem::path path = parent / name;
  std::error_code ignored;
  for (long number = 1;
       std::filesystem::exists(path, ignored) && !std::filesystem::is_directory(path, ignored);
       ++number) {
    path = parent / (name + std::to_string(number));
  }
  if (!std::filesystem::exists(path, ignored)) std::filesystem::create_directory(path, ignored);
  return path;
}

}  // namespace quillsheet
