// The core's strings (UTF-8) and paths as the window's text.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace quillsheet {

inline QString Text(const std::string& text) { return QString::fromStdString(text); }
inline QString Text(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

}  // namespace quillsheet
