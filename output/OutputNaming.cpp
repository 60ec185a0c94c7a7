#include "output/OutputNaming.h"

#include "common/NumberedName.h"

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
  if (replace && !taken.count(candidate(base))) return candidate(base);
  return candidate(*FirstFreeNumberedName(base, "", true, [&](const std::string& name) {
    std::error_code ignored;
    return !taken.count(candidate(name)) && !std::filesystem::exists(candidate(name), ignored);
  }));
}

std::filesystem::path GetDestURLWithPresetName(const std::string& presetName,
                                               const std::filesystem::path& parent) {
  std::error_code ignored;
  const std::filesystem::path path =
      parent /
      *FirstFreeNumberedName(SafeNameComponent(presetName), "", true, [&](const std::string& name) {
        return !std::filesystem::exists(parent / name, ignored) ||
               std::filesystem::is_directory(parent / name, ignored);
      });
  if (!std::filesystem::exists(path, ignored)) std::filesystem::create_directory(path, ignored);
  return path;
}

}  // namespace quillsheet
