#include "app/PreferencesDialog.h"

#include <QMessageBox>

#include "editor/NumberFields.h"
#include "output/PageSelection.h"
#include "ui_PreferencesDialog.h"

namespace quillsheet {
namespace {

// The texts the quality detail label shows, by the key the core names.
QString QualityDetail(int filterTag) {
  const std::string_view key = QualityDetailKey(filterTag);
  if (key == "HighQuality") {
    //% "Pictures kept at 150 pixels per inch."
    return qtTrId("HighQuality");
  }
  if (key == "MediumQuality") {
    //% "Pictures reduced to 100 pixels per inch."
    return qtTrId("MediumQuality");
  }
  if (key == "LowQuality") {
    //% "Pictures reduced to 72 pixels per inch: smallest files."
    return qtTrId("LowQuality");
  }
  //% "The documents keep their own quality."
  return qtTrId("KeepOriginal");
}

}  // namespace

QString PageSelectionName(int tag, const std::string& rangeText) {
  switch (tag) {
    case kEvenPages:
      //% "Even pages"
      return qtTrId("PagesEven");
    case kOddPages:
      //% "Odd pages"
      return qtTrId("PagesOdd");
    case kPortraitPages:
      //% "Portrait pages"
      return qtTrId("PagesPortrait");
    case kLandscapePages:
      //% "Landscape pages"
      return qtTrId("PagesLandscape");
    case kPageRange:
      //% "Page range"
      return rangeText.empty() ? qtTrId("PagesRange")
                               : qtTrId("PagesRange") + ' ' + QString::fromStdString(rangeText);
    case kFirstPage:
      //% "First page"
      return qtTrId("PagesFirst");
    case kLastPage:
      //% "Last page"
      return qtTrId("PagesLast");
    case kFirstAndLastPage:
      //% "First and last page"
      return qtTrId("PagesFirstAndLast");
    default:
      //% "All pages"
      return qtTrId("PagesAll");
  }
}

PreferencesDialog::PreferencesDialog(GeneralPreferences& preferences,
                                     std::function<Result(const GeneralPreferences&)> store,
                                     QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::PreferencesDialog>()),
      preferences_(preferences),
      store_(std::move(store)) {
  ui_->setupUi(this);
  setWindowModality(Qt::WindowModal);
  // Each pop-up's items carry the tags the preferences store.
  //% "Keep original"
  ui_->qualityPopup->addItem(qtTrId("QualityKeepOriginal"), 0);
  //% "High"
  ui_->qualityPopup->addItem(qtTrId("QualityHigh"), 1);
  //% "Medium"
  ui_->qualityPopup->addItem(qtTrId("QualityMedium"), 2);
  //% "Low"
  ui_->qualityPopup->addItem(qtTrId("QualityLow"), 3);
  for (int tag = kAllPages; tag <= kFirstAndLastPage; ++tag) {
    ui_->pagesPopup->addItem(PageSelectionName(tag, {}), tag);
  }
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
  connect(ui_->separatorField, &QLineEdit::textEdited, this, &PreferencesDialog::Changed);
  // The range takes page numbers, "-" and "," only, cleaned as it is typed.
  connect(ui_->rangeField, &QLineEdit::textChanged, this, [this](const QString& text) {
    const QString cleaned = QString::fromStdString(FilterPageRangeText(text.toStdString()));
    if (cleaned != text) {
      ui_->rangeField->setText(cleaned);
      return;
    }
    Changed();
  });
  for (QComboBox* popup : {ui_->qualityPopup, ui_->pagesPopup}) {
    connect(popup, &QComboBox::currentIndexChanged, this, &PreferencesDialog::Changed);
  }
  connect(ui_->applyButton, &QPushButton::clicked, this, &PreferencesDialog::Apply);
  connect(ui_->resetButton, &QPushButton::clicked, this, [this] {
    Show(ApplyPreferenceDictionary(DefaultGeneralPreferences()));
    Changed();
  });
  connect(ui_->doneButton, &QPushButton::clicked, this, [this] {
    if (!RangeRefused()) accept();
  });
}

PreferencesDialog::~PreferencesDialog() = default;

void PreferencesDialog::Show(const GeneralPreferences& p) {
  const QSignalBlocker blockers[] = {
      QSignalBlocker(ui_->beforeButton),    QSignalBlocker(ui_->afterButton),
      QSignalBlocker(ui_->noneButton),      QSignalBlocker(ui_->separatorCheckbox),
      QSignalBlocker(ui_->replaceCheckbox), QSignalBlocker(ui_->folderPerPresetCheckbox),
      QSignalBlocker(ui_->qualityPopup),    QSignalBlocker(ui_->pagesPopup),
      QSignalBlocker(ui_->rangeField)};
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

// The controls' values over what the sheet does not show (the dialogs'
// folders).
GeneralPreferences PreferencesDialog::Read() const {
  GeneralPreferences p = preferences_;
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
  const bool range = p.pageRangeOptionTag == kPageRange;
  ui_->rangeField->setVisible(range);
  ui_->rangeLabel->setVisible(range);
}

// Every change is what the next conversion uses, except a page range that
// names no page, which Apply and Done refuse; Apply also stores it.
void PreferencesDialog::Changed() {
  UpdateEnabling();
  const GeneralPreferences read = Read();
  if (read.pageRangeOptionTag != kPageRange || !PageRangeProblem(read.pageRangeString)) {
    preferences_ = read;
  }
  ui_->applyButton->setEnabled(true);
}

bool PreferencesDialog::RangeRefused() {
  const GeneralPreferences read = Read();
  if (read.pageRangeOptionTag != kPageRange) return false;
  const auto problem = PageRangeProblem(read.pageRangeString);
  if (!problem) return false;
  //% "Preferences"
  QMessageBox::warning(this, qtTrId("PreferencesAlertTitle"), QString::fromStdString(*problem));
  ui_->rangeField->setFocus();
  return true;
}

void PreferencesDialog::Apply() {
  if (RangeRefused()) return;
  preferences_ = Read();
  const Result stored = store_(preferences_);
  if (!stored.ok()) {
    QMessageBox::warning(this, qtTrId("PreferencesAlertTitle"),
                         QString::fromStdString(stored.message()));
    return;
  }
  ui_->applyButton->setEnabled(false);
}

}  // namespace quillsheet
