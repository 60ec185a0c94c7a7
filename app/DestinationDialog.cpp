#include "app/DestinationDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace quillsheet {
namespace {

QString TitleFor(DestinationDialog::Purpose purpose) {
  if (purpose == DestinationDialog::Purpose::RemoveMarks) {
    //% "Remove Watermarks"
    return qtTrId("RemoveMarksDialogTitle");
  }
  //% "Convert"
  return qtTrId("OpenDestinationDialogTitle");
}

}  // namespace

DestinationDialog::DestinationDialog(Purpose purpose, bool toFile,
                                     const std::filesystem::path& suggested, const QString& pages,
                                     QWidget* parent)
    : QFileDialog(parent, TitleFor(purpose)) {
  setObjectName(QStringLiteral("DestinationDialog"));
  setOption(QFileDialog::DontUseNativeDialog);
  if (toFile) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    //% "PDF documents (*.pdf)"
    setNameFilter(qtTrId("OpenDestinationDialogFilter"));
    setDefaultSuffix(QStringLiteral("pdf"));
    selectFile(QString::fromStdString(suggested.string()));
  } else {
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly);
    setDirectory(QString::fromStdString(suggested.string()));
  }

  // The accessory: a password for the outputs, typed twice.
  auto* accessory = new QWidget(this);
  auto* form = new QFormLayout(accessory);
  form->setContentsMargins(0, 0, 0, 0);
  //% "Protect the output with a &password"
  encryptBox_ = new QCheckBox(qtTrId("EncryptOutputBox"), accessory);
  encryptBox_->setObjectName(QStringLiteral("encryptBox"));
  passwordField_ = new QLineEdit(accessory);
  passwordField_->setObjectName(QStringLiteral("passwordField"));
  verifyField_ = new QLineEdit(accessory);
  verifyField_->setObjectName(QStringLiteral("verifyField"));
  for (QLineEdit* field : {passwordField_, verifyField_}) {
    field->setEchoMode(QLineEdit::Password);
    field->setEnabled(false);
    connect(field, &QLineEdit::textChanged, this, &DestinationDialog::ShowWhetherTheyMatch);
  }
  //% "Pass&word"
  auto* passwordLabel = new QLabel(qtTrId("EncryptPasswordLabel"), accessory);
  passwordLabel->setBuddy(passwordField_);
  //% "&Verify"
  auto* verifyLabel = new QLabel(qtTrId("EncryptVerifyLabel"), accessory);
  verifyLabel->setBuddy(verifyField_);
  //% "Protect copies of locked files with their own password"
  keepInputPasswordBox_ = new QCheckBox(qtTrId("KeepInputPasswordBox"), accessory);
  keepInputPasswordBox_->setObjectName(QStringLiteral("keepInputPasswordBox"));
  if (!pages.isEmpty()) {
    //% "Pages marked: %1 (Preferences)"
    auto* marked = new QLabel(qtTrId("PagesMarkedNote").arg(pages), accessory);
    marked->setObjectName(QStringLiteral("pagesNote"));
    form->addRow(marked);
  }
  form->addRow(encryptBox_);
  form->addRow(passwordLabel, passwordField_);
  form->addRow(verifyLabel, verifyField_);
  form->addRow(keepInputPasswordBox_);
  // With a password for the outputs, every copy has that one.
  connect(encryptBox_, &QCheckBox::toggled, this, [this](bool on) {
    passwordField_->setEnabled(on);
    verifyField_->setEnabled(on);
    keepInputPasswordBox_->setEnabled(!on);
  });
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addWidget(accessory, grid->rowCount(), 0, 1, grid->columnCount());
  }
}

// The verification turns red while it differs from the password.
void DestinationDialog::ShowWhetherTheyMatch() {
  QPalette palette = passwordField_->palette();
  if (verifyField_->text() != passwordField_->text()) {
    palette.setColor(QPalette::Text, QColor(0xc0, 0x1c, 0x28));
  }
  verifyField_->setPalette(palette);
}

std::filesystem::path DestinationDialog::Destination() const {
  const QStringList chosen = selectedFiles();
  if (chosen.isEmpty()) return {};
  return chosen.front().toStdString();
}

bool DestinationDialog::Encrypt() const { return encryptBox_->isChecked(); }
std::string DestinationDialog::Password() const { return passwordField_->text().toStdString(); }
std::string DestinationDialog::Verification() const { return verifyField_->text().toStdString(); }
bool DestinationDialog::KeepInputPassword() const {
  return keepInputPasswordBox_->isEnabled() && keepInputPasswordBox_->isChecked();
}

}  // namespace quillsheet
