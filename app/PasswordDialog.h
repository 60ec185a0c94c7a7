// The password sheet: asks for the password of a locked file, naming the
// file and its folder, with OK, Skip, Skip All and Cancel. Main thread only.
#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "output/DocumentList.h"

namespace Ui {
class PasswordDialog;
}

namespace quillsheet {

class PasswordDialog : public QDialog {
  Q_OBJECT

 public:
  PasswordDialog(const std::filesystem::path& file, int attempt, QWidget* parent);
  ~PasswordDialog() override;

  // Shows the dialog window-modally in a local event loop and gives the answer.
  PasswordPrompt::Answer Ask();

 private:
  std::unique_ptr<Ui::PasswordDialog> ui_;
  PasswordPrompt::Answer::Kind kind_ = PasswordPrompt::Answer::Kind::Cancel;
};

}  // namespace quillsheet
