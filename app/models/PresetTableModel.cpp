#include "app/models/PresetTableModel.h"

namespace quillsheet {

PresetTableModel::PresetTableModel(PresetLibrary& library, QObject* parent)
    : QAbstractTableModel(parent),
      library_(library),
      rows_(static_cast<int>(library.waterMarkPresetData().size())) {
  token_ = library_.AddListener([this](const PresetLibrary::Update& update) { Apply(update); });
}

PresetTableModel::~PresetTableModel() { library_.RemoveListener(token_); }

void PresetTableModel::Apply(const PresetLibrary::Update& update) {
  if (update.change != PresetLibrary::Change::Table) return;
  if (update.rows.empty() || static_cast<int>(library_.waterMarkPresetData().size()) != rows_) {
    beginResetModel();
    rows_ = static_cast<int>(library_.waterMarkPresetData().size());
    endResetModel();
    return;
  }
  for (size_t row : update.rows) {
    const QModelIndex changed = index(static_cast<int>(row), 0);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
  }
}

int PresetTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int PresetTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 1;
}

QVariant PresetTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  return QString::fromStdString(library_.DisplayName(static_cast<size_t>(index.row())));
}

Qt::ItemFlags PresetTableModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) |
         (index.isValid() ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

bool PresetTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= rows_ || role != Qt::EditRole || !rename_) return false;
  return rename_(static_cast<size_t>(index.row()), value.toString().toStdString());
}

QVariant PresetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section != 0) return {};
  //% "Name"
  return qtTrId("PresetsNameColumn");
}

}  // namespace quillsheet
