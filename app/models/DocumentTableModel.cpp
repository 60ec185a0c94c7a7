#include "app/models/DocumentTableModel.h"

#include <QMetaObject>

namespace quillsheet {

DocumentTableModel::DocumentTableModel(DocumentList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list), rows_(list.Snapshot()) {
  token_ = list_.AddListener([this](const DocumentList::Update& update) {
    QMetaObject::invokeMethod(
        this, [this, update] { Apply(update); }, Qt::QueuedConnection);
  });
}

DocumentTableModel::~DocumentTableModel() { list_.RemoveListener(token_); }

// Applies a change in the order the list made it. Appends take the entries
// from a snapshot, which may already hold later appends; those are added when
// their own notices arrive.
void DocumentTableModel::Apply(const DocumentList::Update& update) {
  const std::vector<ListedDocument> now = list_.Snapshot();
  switch (update.kind) {
    case DocumentList::Update::Kind::Appended:
      for (size_t row : update.rows) {
        if (row != rows_.size() || row >= now.size()) continue;
        const int at = static_cast<int>(row);
        beginInsertRows({}, at, at);
        rows_.push_back(now[row]);
        endInsertRows();
      }
      return;
    case DocumentList::Update::Kind::Removed:
      for (auto row = update.rows.rbegin(); row != update.rows.rend(); ++row) {
        if (*row >= rows_.size()) continue;
        const int at = static_cast<int>(*row);
        beginRemoveRows({}, at, at);
        rows_.erase(rows_.begin() + at);
        endRemoveRows();
      }
      return;
    case DocumentList::Update::Kind::Reset:
      beginResetModel();
      rows_ = now;
      endResetModel();
      return;
  }
}

int DocumentTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DocumentTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant DocumentTableModel::data(const QModelIndex& index, int role) const {
  const ListedDocument* document = Document(index.row());
  if (!document || !index.isValid()) return {};
  if (role == Qt::DisplayRole) {
    if (index.column() == NameColumn) {
      return QString::fromStdString(document->path.filename().string());
    }
    return document->pages;
  }
  if (role == Qt::ToolTipRole) return QString::fromStdString(document->path.string());
  if (role == Qt::TextAlignmentRole && index.column() == PagesColumn) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

QVariant DocumentTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return section == NameColumn ? tr("Name") : tr("Pages");
}

const ListedDocument* DocumentTableModel::Document(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
  return &rows_[static_cast<size_t>(row)];
}

}  // namespace quillsheet
