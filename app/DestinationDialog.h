// The panel that asks where outputs go: a file (one output) or a folder
// (several), titled for the run it starts, with its accessory: the pages a
// conversion marks, the password box, and whether copies of locked files
// keep their own password. Its answer is checked by the core's encryption
// rule before any run starts. Main thread only.
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
  enum class Purpose { Convert, RemoveMarks };
  // toFile: ask for a file named like suggested; else for a folder. pages
  // names the page selection a conversion marks (none for a removal).
  DestinationDialog(Purpose purpose, bool toFile, const std::filesystem::path& suggested,
                    const QString& pages, QWidget* parent);

  std::filesystem::path Destination() const;
  // What the password box asks for: nothing when it is off; a problem (an
  // empty password, passwords that differ, ...) refuses the conversion.
  bool Encrypt() const;
  std::string Password() const;
  std::string Verification() const;
  // Without a password for the outputs: copies of locked files are
  // protected with the file's own password.
  bool KeepInputPassword() const;

 private:
  void ShowWhetherTheyMatch();

  QCheckBox* encryptBox_ = nullptr;
  QCheckBox* keepInputPasswordBox_ = nullptr;
  QLineEdit* passwordField_ = nullptr;
  QLineEdit* verifyField_ = nullptr;
};

}  // namespace quillsheet
