#include "app/PreferencesDialog.h"

#include <QMessageBox>

#include "ui_PreferencesDialog.h"

namespace quillsheet {
namespace {

// The texts the quality detail label shows, by the key the core names.
QString QualityDetail(int filterTag) {
  const std::string_view key = QualityDetailKey(filterTag);
  if (key == "HighQuality") return QObject::tr("Pictures kept at 150 pixels per inch.");
  if (key == "MediumQuality") return QObject::tr("Pictures reduced to 100 pixels per inch.");
  if (key == "LowQuality")
    return QObject::tr("Pictures reduced to 72 pixels per inch: smallest files.");
  return QObject::tr("The documents keep their own quality.");
}

constexpr int kPageRangeTag = 6;

}  // namespace

PreferencesDialog::PreferencesDialog(GeneralPreferences& preferences,
                                     std::function<Result(const GeneralPreferences&)> store,
                                     QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::PreferencesDialog>()),
      preferences_(preferences),
      store_(std::move(store)) {
  ui_->setupUi(this);
  setWindowModality(Qt::WindowModal);
  const std::pair<QString, int> qualities[] = {
      {tr("Keep original"), 0}, {tr("High"), 1}, {tr("Medium"), 2}, {tr("Low"), 3}};
  for (const auto& [text, tag] : qualities) ui_->qualityPopup->addItem(text, tag);
  const std::pair<QString, int> pages[] = {
      {tr("All pages"), 1},      {tr("Even pages"), 2},      {tr("Odd pages"), 3},
      {tr("Portrait pages"), 4}, {tr("Landscape pages"), 5}, {tr("Page range"), 6},
      {tr("First page"), 7},     {tr("Last page"), 8},       {tr("First and last page"), 9}};
  for (const auto& [text, tag] : pages) ui_->pagesPopup->addItem(text, tag);
  Show(preferences_);
  ui_->applyButton->setEnabled(false);

  for (QAbstractButton* button : {static_cast<QAbstractButton*>(ui_->beforeButton),
                                  static_cast<QAbstractButton*>(ui_->afterButton),
                                  static_cast<QAbstractButton*>(ui_->noneButton),
                                  static_cast<QAbstractButton*>(ui_->separatorCheckbox),
                                  static_cast<QAbstractButton*>(ui_->replaceCheckbox),
                                  static_cast<QAbstractButton*>(ui_->folderPerPresetCheckbox)}) {
    connect(button, &QAbstractButton::toggled, this, &PreferencesDialog::Changed);
  }
  for (QLineEdit* field : {ui_->separatorField, ui_->rangeField}) {
    connect(field, &QLineEdit::textEdited, this, &PreferencesDialog::Changed);
  }
  for (QComboBox* popup : {ui_->qualityPopup, ui_->pagesPopup}) {
    connect(popup, &QComboBox::currentIndexChanged, this, &PreferencesDialog::Changed);
  }
  connect(ui_->applyButton, &QPushButton::clicked, this, &PreferencesDialog::Apply);
  connect(ui_->resetButton, &QPushButton::clicked, this, [this] {
    Show(ApplyPreferenceDictionary(DefaultGeneralPreferences()));
    Changed();
  });
  connect(ui_->doneButton, &QPushButton::clicked, this, &QDialog::accept);
}

PreferencesDialog::~PreferencesDialog() = default;

void PreferencesDialog::Show(const GeneralPreferences& p) {
  const QSignalBlocker blockers[] = {
      QSignalBlocker(ui_->beforeButton),    QSignalBlocker(ui_->afterButton),
      QSignalBlocker(ui_->noneButton),      QSignalBlocker(ui_->separatorCheckbox),
      QSignalBlocker(ui_->replaceCheckbox), QSignalBlocker(ui_->folderPerPresetCheckbox),
      QSignalBlocker(ui_->qualityPopup),    QSignalBlocker(ui_->pagesPopup)};
  ui_->beforeButton->setChecked(p.addLabelPosition == LabelPosition::BeforeFileName);
  ui_->afterButton->setChecked(p.addLabelPosition == LabelPosition::AfterFileName);
  ui_->noneButton->setChecked(p.addLabelPosition == LabelPosition::None);
  ui_->separatorCheckbox->setChecked(p.addSeparator);
  ui_->separatorField->setText(QString::fromStdString(p.separatorString));
  ui_->replaceCheckbox->setChecked(p.replaceExistFile);
  ui_->folderPerPresetCheckbox->setChecked(p.createSeparateFolderForEachFile);
  ui_->qualityPopup->setCurrentIndex(ui_->qualityPopup->findData(p.filterTag));
  ui_->pagesPopup->setCurrentIndex(ui_->pagesPopup->findData(p.pageRangeOptionTag));
  ui_->rangeField->setText(QString::fromStdString(p.pageRangeString));
  UpdateEnabling();
}

GeneralPreferences PreferencesDialog::Read() const {
  GeneralPreferences p;
  p.addLabelPosition = ui_->beforeButton->isChecked()  ? LabelPosition::BeforeFileName
                       : ui_->afterButton->isChecked() ? LabelPosition::AfterFileName
                                                       : LabelPosition::None;
  p.addSeparator = ui_->separatorCheckbox->isChecked();
  p.separatorString = ui_->separatorField->text().toStdString();
  p.replaceExistFile = ui_->replaceCheckbox->isChecked();
  p.createSeparateFolderForEachFile = ui_->folderPerPresetCheckbox->isChecked();
  p.filterTag = ui_->qualityPopup->currentData().toInt();
  p.pageRangeOptionTag = ui_->pagesPopup->currentData().toInt();
  p.pageRangeString = ui_->rangeField->text().toStdString();
  return p;
}

void PreferencesDialog::UpdateEnabling() {
  const GeneralPreferences p = Read();
  ui_->separatorCheckbox->setEnabled(SeparatorCheckboxEnabled(p.addLabelPosition));
  ui_->separatorField->setEnabled(SeparatorFieldEnabled(p.addLabelPosition, p.addSeparator));
  ui_->qualityDetail->setText(QualityDetail(p.filterTag));
  const bool range = p.pageRangeOptionTag == kPageRangeTag;
  ui_->rangeField->setVisible(range);
  ui_->rangeLabel->setVisible(range);
}

// Every change is what the next conversion uses; Apply also stores it.
void PreferencesDialog::Changed() {
  UpdateEnabling();
  preferences_ = Read();
  ui_->applyButton->setEnabled(true);
}

void PreferencesDialog::Apply() {
  preferences_ = Read();
  const Result stored = store_(preferences_);
  if (!stored.ok()) {
    QMessageBox::warning(this, tr("Preferences"), QString::fromStdString(stored.message()));
    return;
  }
  ui_->applyButton->setEnabled(false);
}

}  // namespace quillsheet
