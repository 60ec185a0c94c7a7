#include "app/FieldValuesDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
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
  layout->addWidget(MakeTableBox(names.empty() ? std::string() : names.front()));
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(qtTrId("OkButtonString"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(qtTrId("CancelTitle"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QGroupBox* FieldValuesDialog::MakeTableBox(const std::string& firstField) {
  //% "One copy per row of a table"
  tableBox_ = new QGroupBox(qtTrId("FieldsTableBox"), this);
  tableBox_->setObjectName("fieldsTableBox");
  tableBox_->setAccessibleName(qtTrId("FieldsTableBox"));
  tableBox_->setCheckable(true);
  tableBox_->setChecked(false);
  //% "A table with a first row of field names, as spreadsheets save it (CSV)"
  tableBox_->setToolTip(qtTrId("FieldsTableTip"));
  auto* form = new QFormLayout(tableBox_);

  table_ = new QLineEdit(tableBox_);
  table_->setObjectName("fieldsTablePath");
  table_->setReadOnly(true);
  //% "Table"
  table_->setAccessibleName(qtTrId("FieldsTableName"));
  //% "Choose..."
  auto* choose = new QPushButton(qtTrId("FieldsTableChoose"), tableBox_);
  //% "Choose Table"
  choose->setAccessibleName(qtTrId("FieldsTableChooseName"));
  connect(choose, &QPushButton::clicked, this, &FieldValuesDialog::ChooseTable);
  auto* row = new QHBoxLayout;
  row->addWidget(table_, 1);
  row->addWidget(choose);
  //% "Table:"
  auto* tableLabel = new QLabel(qtTrId("FieldsTableLabel"), tableBox_);
  tableLabel->setBuddy(table_);
  form->addRow(tableLabel, row);

  nameTemplate_ = new QLineEdit(tableBox_);
  nameTemplate_->setObjectName("fieldsNameTemplate");
  nameTemplate_->setText(Text("{file}-{" + firstField + "}"));
  //% "Output Names"
  nameTemplate_->setAccessibleName(qtTrId("FieldsNamesName"));
  //% "The outputs' names, from fields such as {file}, {preset} and the table's"
  nameTemplate_->setToolTip(qtTrId("FieldsNamesTip"));
  //% "Output names:"
  auto* namesLabel = new QLabel(qtTrId("FieldsNamesLabel"), tableBox_);
  namesLabel->setBuddy(nameTemplate_);
  form->addRow(namesLabel, nameTemplate_);
  return tableBox_;
}

void FieldValuesDialog::ChooseTable() {
  //% "Tables (*.csv);;All Files (*)"
  const QString filter = qtTrId("FieldsTableFilter");
  auto* chooser = new QFileDialog(this, qtTrId("FieldsTableChooseName"), QString(), filter);
  chooser->setObjectName("fieldsTableChooser");
  chooser->setFileMode(QFileDialog::ExistingFile);
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  connect(chooser, &QFileDialog::fileSelected, table_, &QLineEdit::setText);
  chooser->open();
}

void FieldValuesDialog::done(int result) {
  copies_.clear();
  if (result == QDialog::Accepted && tableBox_->isChecked()) {
    std::string problem;
    auto copies = table_->text().isEmpty() ? std::nullopt
                                           : ReadFieldsFile(table_->text().toStdString(), &problem);
    if (!copies) {
      //% "Choose the table, or turn off the copies per row."
      const QString reason = problem.empty() ? qtTrId("FieldsTableMissing") : Text(problem);
      QMessageBox::warning(this, windowTitle(), reason);
      return;
    }
    copies_ = std::move(*copies);
  }
  QDialog::done(result);
}

FieldAnswers FieldValuesDialog::Answers() const {
  FieldAnswers answers;
  for (const auto& [name, line] : lines_) {
    answers.values.insert_or_assign(name, line->text().toStdString());
  }
  answers.copies = copies_;
  if (!copies_.empty() && !nameTemplate_->text().trimmed().isEmpty()) {
    answers.nameTemplate = nameTemplate_->text().trimmed().toStdString();
  }
  return answers;
}

}  // namespace quillsheet
