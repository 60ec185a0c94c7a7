#include "app/FieldValuesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace quillsheet {

FieldValuesDialog::FieldValuesDialog(const std::vector<std::string>& names, QWidget* parent)
    : QDialog(parent) {
  setObjectName("fieldValuesDialog");
  //% "Fields"
  setWindowTitle(qtTrId("FieldValuesTitle"));
  auto* layout = new QVBoxLayout(this);
  //% "The watermark text has fields without a value. What goes in them?"
  layout->addWidget(new QLabel(qtTrId("FieldValuesMsg"), this));
  auto* form = new QFormLayout;
  for (const std::string& name : names) {
    auto* line = new QLineEdit(this);
    line->setAccessibleName(Text(name));
    auto* label = new QLabel(Text("{" + name + "}"), this);
    label->setBuddy(line);
    form->addRow(label, line);
    lines_.emplace_back(name, line);
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(qtTrId("OkButtonString"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(qtTrId("CancelTitle"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

FieldValues FieldValuesDialog::Values() const {
  FieldValues values;
  for (const auto& [name, line] : lines_) values.insert_or_assign(name, line->text().toStdString());
  return values;
}

}  // namespace quillsheet
