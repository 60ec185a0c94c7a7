// The panel that asks where outputs go: a file (one output) or a folder
// (several), with the password box as its accessory. Its answer is checked by
// the core's encryption rule before any run starts. Main thread only.
#pragma once

#include <QFileDialog>
#include <filesystem>
#include <optional>

#include "output/DocumentEntry.h"

class QCheckBox;
class QLineEdit;

namespace quillsheet {

class DestinationDialog : public QFileDialog {
  Q_OBJECT

 public:
  // toFile: ask for a file named like suggested; else for a folder.
  DestinationDialog(bool toFile, const std::filesystem::path& suggested, QWidget* parent);

  std::filesystem::path Destination() const;
  // What the password box asks for: nothing when it is off; a problem (an
  // empty password, passwords that differ, ...) refuses the conversion.
  bool Encrypt() const;
  std::string Password() const;
  std::string Verification() const;

 private:
  void ShowWhetherTheyMatch();

  QCheckBox* encryptBox_ = nullptr;
  QLineEdit* passwordField_ = nullptr;
  QLineEdit* verifyField_ = nullptr;
};

}  // namespace quillsheet
