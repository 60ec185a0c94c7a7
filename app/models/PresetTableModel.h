// The preset table's model: one row a preset of the PresetLibrary, showing
// its name with the star of a modified preset. Edits that only change rows'
// contents update those rows (dataChanged), so the selection and an open
// name editor survive; a change of the rows themselves resets the model.
// Lives on the library's thread (the main thread).
#pragma once

#include <QAbstractTableModel>

#include "editor/PresetLibrary.h"

namespace quillsheet {

class PresetTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The library must outlive the model.
  explicit PresetTableModel(PresetLibrary& library, QObject* parent = nullptr);
  ~PresetTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void Apply(const PresetLibrary::Update& update);

  PresetLibrary& library_;
  ListenerToken token_;
  int rows_ = 0;
};

}  // namespace quillsheet
