// The preset table's model: one row a preset of the PresetLibrary, showing
// its name with the star of a modified preset. Edits that only change rows'
// contents update those rows (dataChanged), so the selection and an open
// name editor survive; a change of the rows themselves resets the model.
// Lives on the library's thread (the main thread).
#pragma once

#include <QAbstractTableModel>
#include <functional>

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
  // Names are edited in place; the typed text goes to the rename handler,
  // which checks and commits it (or refuses it).
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  using RenameHandler = std::function<bool(size_t row, const std::string& text)>;
  void SetRenameHandler(RenameHandler handler) { rename_ = std::move(handler); }

 private:
  void Apply(const PresetLibrary::Update& update);

  PresetLibrary& library_;
  RenameHandler rename_;
  ListenerToken token_;
  int rows_ = 0;
};

}  // namespace quillsheet
