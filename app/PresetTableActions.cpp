#include "app/PresetTableActions.h"
#include "app/QtText.h"

#include <QAbstractButton>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace quillsheet {
PresetTableActions::PresetTableActions(PresetLibrary& library, PresetTableModel& model,
                                       QTableView* view, Buttons buttons,
                                       std::function<std::string()> editorText,
                                       std::function<void()> presetsChanged)
    : library_(library),
      view_(view),
      buttons_(buttons),
      editorText_(std::move(editorText)),
      presetsChanged_(std::move(presetsChanged)) {
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  model.SetRenameHandler([this](size_t row, const std::string& text) { return Rename(row, text); });
  connect(buttons_.add, &QAbstractButton::clicked, this, &PresetTableActions::Add);
  connect(buttons_.remove, &QAbstractButton::clicked, this, &PresetTableActions::Remove);
  connect(buttons_.save, &QAbstractButton::clicked, this, [this] {
    presetsChanged_();
    Report(library_.SaveSelectedRow());
  });
  connect(buttons_.revert, &QAbstractButton::clicked, this, [this] {
    presetsChanged_();
    library_.RevertSelectedRow();
  });
  // Any change may change the buttons: a selection, an edit, a store.
  token_ = library_.AddListener([this](const PresetLibrary::Update&) { UpdateButtons(); });
  UpdateButtons();
}

PresetTableActions::~PresetTableActions() { library_.RemoveListener(token_); }

void PresetTableActions::ShowLibrarySelection() {
  // Read first: selecting in the view hands its selection to the library.
  const std::set<size_t> rows = library_.selectedRows();
  const std::int64_t currentRow = library_.selectedRow();
  QItemSelectionModel* selection = view_->selectionModel();
  if (currentRow >= 0) {
    const QModelIndex current = view_->model()->index(static_cast<int>(currentRow), 0);
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    view_->scrollTo(current);
  }
  QItemSelection shown;
  for (size_t row : rows) {
    const QModelIndex index = view_->model()->index(static_cast<int>(row), 0);
    shown.select(index, index);
  }
  selection->select(shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  UpdateButtons();
}

void PresetTableActions::UpdateButtons() {
  buttons_.remove->setEnabled(library_.RemoveButtonEnabled());
  buttons_.save->setEnabled(library_.SaveAndRevertEnabled());
  buttons_.revert->setEnabled(library_.SaveAndRevertEnabled());
}

// A new preset from the editor's values, named after its text; its name is
// then open for typing.
void PresetTableActions::Add() {
  presetsChanged_();
  const Result added = library_.AddToEndOfTable(editorText_());
  ShowLibrarySelection();
  if (!added.ok()) return Report(added);
  view_->edit(view_->model()->index(static_cast<int>(library_.selectedRow()), 0));
}

void PresetTableActions::Remove() {
  const std::set<size_t> rows = library_.selectedRows();
  if (rows.empty()) return;
  QMessageBox box(view_->window());
  box.setIcon(QMessageBox::Warning);
  //% "Remove the preset \"%1\"?"
  const QString one = qtTrId("RemovePresetAlertMsg");
  //% "Remove the selected presets?"
  const QString many = qtTrId("RemoveManyPresetAlertMsg");
  box.setText(rows.size() == 1 ? one.arg(Text(library_.waterMarkPresetData()[*rows.begin()]))
                               : many);
  //% "Delete"
  QPushButton* remove = box.addButton(qtTrId("DeleteTitle"), QMessageBox::DestructiveRole);
  box.addButton(qtTrId("CancelTitle"), QMessageBox::RejectRole);
  box.setDefaultButton(remove);
  box.exec();
  if (box.clickedButton() != remove) return;
  presetsChanged_();
  const Result removed = library_.RemoveRows(rows);
  ShowLibrarySelection();
  Report(removed);
}

// An in-place edit ends here. A name that cannot be taken is refused with
// its alert after the editor closed, and the editor opens again with the
// typed text; a name taken by another preset replaces it when the user says
// so.
bool PresetTableActions::Rename(size_t row, const std::string& text) {
  switch (library_.ValidateRename(row, text)) {
    case RenameCheck::Accept: {
      presetsChanged_();
      const Result renamed = library_.CommitRename(row, text);
      QTimer::singleShot(0, this, [this, renamed] {
        ShowLibrarySelection();
        Report(renamed);
      });
      return renamed.ok();
    }
    case RenameCheck::EmptyName:
      QTimer::singleShot(0, this, [this, row] {
        //% "A preset needs a name."
        QMessageBox::warning(view_->window(), QString(), qtTrId("EmptyPresetNameAlertMsg"));
        RenameAgain(row, QString());
      });
      return false;
    case RenameCheck::NameTaken:
      QTimer::singleShot(0, this, [this, row, text] {
        QMessageBox box(view_->window());
        box.setIcon(QMessageBox::Question);
        //% "A preset named \"%1\" exists. Replace it?"
        box.setText(qtTrId("PresetExistAlertMsg").arg(Text(text)));
        //% "Replace"
        QPushButton* replace = box.addButton(qtTrId("ReplaceButtonTitle"), QMessageBox::AcceptRole);
        box.addButton(qtTrId("CancelTitle"), QMessageBox::RejectRole);
        box.exec();
        if (box.clickedButton() != replace) return RenameAgain(row, Text(text));
        presetsChanged_();
        const Result renamed = library_.CommitRename(row, text);
        ShowLibrarySelection();
        Report(renamed);
      });
      return false;
  }
  return false;
}

void PresetTableActions::RenameAgain(size_t row, const QString& text) {
  const QModelIndex index = view_->model()->index(static_cast<int>(row), 0);
  view_->setCurrentIndex(index);
  view_->edit(index);
  if (auto* editor = view_->findChild<QLineEdit*>()) {
    editor->setText(text);
    editor->selectAll();
  }
}

void PresetTableActions::Report(const Result& result) {
  if (result.ok() || result.cancelled()) return;
  //% "The presets could not be stored: %1"
  QMessageBox::warning(view_->window(), QString(),
                       qtTrId("PresetStoreFailedMsg").arg(Text(result.message())));
}

}  // namespace quillsheet
