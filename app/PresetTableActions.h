#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "app/models/PresetTableModel.h"
#include "editor/PresetLibrary.h"

class QAbstractButton;
class QTableView;

namespace quillsheet {

// The preset table's buttons (add, remove, save, revert) and its in-place
// rename, with their questions and alerts, over the PresetLibrary, which
// holds every rule. The table view shows the library's selection after each
// change. The library, model, view and buttons must outlive this object.
// Main thread only.
class PresetTableActions : public QObject {
  Q_OBJECT

 public:
  struct Buttons {
    QAbstractButton* add;
    QAbstractButton* remove;
    QAbstractButton* save;
    QAbstractButton* revert;
  };
  // editorText gives the watermark text in the editor, the base of a new
  // preset's name; presetsChanged is called after every add, remove,
  // rename, save and revert.
  PresetTableActions(PresetLibrary& library, PresetTableModel& model, QTableView* view,
                     Buttons buttons, std::function<std::string()> editorText,
                     std::function<void()> presetsChanged);
  ~PresetTableActions() override;

  // Selects the library's selected rows in the view.
  void ShowLibrarySelection();

 private:
  void Add();
  void Remove();
  bool Rename(size_t row, const std::string& text);
  void RenameAgain(size_t row, const QString& text);
  void UpdateButtons();
  void Report(const Result& result);

  PresetLibrary& library_;
  QTableView* view_;
  Buttons buttons_;
  std::function<std::string()> editorText_;
  std::function<void()> presetsChanged_;
  ListenerToken token_;
};

}  // namespace quillsheet
