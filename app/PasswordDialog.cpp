#include "app/PasswordDialog.h"

#include "ui_PasswordDialog.h"

namespace quillsheet {

using Kind = PasswordPrompt::Answer::Kind;

PasswordDialog::PasswordDialog(const std::filesystem::path& file, int attempt, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PasswordDialog>()) {
  ui_->setupUi(this);
  setWindowModality(Qt::WindowModal);
  const QString name = QString::fromStdString(file.filename().string());
  const QString folder = QString::fromStdString(file.parent_path().string());
  //% "The password did not open \"%1\" (in %2) with printing allowed. "
  //% "Try another one."
  const QString again = qtTrId("PasswordAlertRetryMsg");
  //% "\"%1\" (in %2) is protected by a password."
  const QString first = qtTrId("PasswordAlertMsg");
  ui_->message->setText((attempt > 1 ? again : first).arg(name, folder));
  const auto answerWith = [this](Kind kind) {
    kind_ = kind;
    kind == Kind::Cancel ? reject() : accept();
  };
  connect(ui_->okButton, &QPushButton::clicked, this, [=] { answerWith(Kind::Password); });
  connect(ui_->skipButton, &QPushButton::clicked, this, [=] { answerWith(Kind::Skip); });
  connect(ui_->skipAllButton, &QPushButton::clicked, this, [=] { answerWith(Kind::SkipAll); });
  connect(ui_->cancelButton, &QPushButton::clicked, this, [=] { answerWith(Kind::Cancel); });
}

PasswordDialog::~PasswordDialog() = default;

PasswordPrompt::Answer PasswordDialog::Ask() {
  kind_ = Kind::Cancel;
  exec();
  return {kind_, kind_ == Kind::Password ? ui_->passwordField->text().toStdString() : ""};
}

}  // namespace quillsheet
