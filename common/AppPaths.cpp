#include "common/AppPaths.h"

#include <QStandardPaths>
#include <cstdlib>

namespace quillsheet {
namespace {

std::filesystem::path WritableLocation(QStandardPaths::StandardLocation location) {
  return std::filesystem::path(QStandardPaths::writableLocation(location).toStdString());
}

}  // namespace

std::filesystem::path PreferencesFolder() {
  const auto base = WritableLocation(QStandardPaths::GenericConfigLocation);
  return base.empty() ? base : base / "quillsheet";
}

std::filesystem::path ApplicationSupportDirectory() {
  return WritableLocation(QStandardPaths::GenericDataLocation);
}

std::optional<std::filesystem::path> GetApplicationSupportFolder(std::string_view name,
                                                                 std::string* error) {
  const auto base = ApplicationSupportDirectory();
  if (base.empty()) {
    if (error) *error = "the system names no data directory for this user";
    return std::nullopt;
  }
  const auto folder = name.empty() ? base : base / name;
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  if (failure || !std::filesystem::is_directory(folder)) {
    if (error) *error = "cannot create the folder " + folder.string() + ": " + failure.message();
    return std::nullopt;
  }
  return folder;
}

std::filesystem::path ResourceFolder() {
  if (const char* overridden = std::getenv("QUILLSHEET_RESOURCES"); overridden && *overridden) {
    return overridden;
  }
  std::error_code ignored;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", ignored);
  const std::filesystem::path besideProgram =
      program.parent_path().parent_path() / "share" / "quillsheet";
  if (!program.empty() && std::filesystem::is_directory(besideProgram, ignored)) {
    return besideProgram;
  }
  const std::filesystem::path installed = QUILLSHEET_INSTALLED_RESOURCE_DIR;
  if (std::filesystem::is_directory(installed, ignored)) return installed;
  return QUILLSHEET_SOURCE_RESOURCE_DIR;
}

Result CheckResourceFolder() {
  const auto folder = ResourceFolder();
  std::error_code ignored;
  if (std::filesystem::is_directory(folder, ignored)) return Result::Ok();
  return Result::Failed("the resources folder " + folder.string() +
                        " does not exist (set QUILLSHEET_RESOURCES to the folder that holds "
                        "DefaultPreset.plist)");
}

}  // namespace quillsheet
