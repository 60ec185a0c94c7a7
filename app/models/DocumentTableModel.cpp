#include "app/models/DocumentTableModel.h"

#include <QMetaObject>
#include <QMimeData>
#include <QUrl>

namespace quillsheet {
namespace {

// Rows dragged inside the table, as "0,3,4".
constexpr const char* kRowsType = "application/x-quillsheet-document-rows";

std::set<size_t> DraggedRows(const QMimeData* data) {
  std::set<size_t> rows;
  for (const QByteArray& row : data->data(kRowsType).split(',')) {
    bool ok = false;
    const uint value = row.toUInt(&ok);
    if (ok) rows.insert(value);
  }
  return rows;
}

}  // namespace

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
  //% "Name"
  const QString name = qtTrId("DocumentsNameColumn");
  //% "Pages"
  const QString pages = qtTrId("DocumentsPagesColumn");
  return section == NameColumn ? name : pages;
}

Qt::ItemFlags DocumentTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions DocumentTableModel::supportedDropActions() const {
  return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions DocumentTableModel::supportedDragActions() const { return Qt::MoveAction; }

QStringList DocumentTableModel::mimeTypes() const {
  return {QStringLiteral("text/uri-list"), QString::fromLatin1(kRowsType)};
}

QMimeData* DocumentTableModel::mimeData(const QModelIndexList& indexes) const {
  std::set<int> rows;
  for (const QModelIndex& index : indexes) rows.insert(index.row());
  // The whole list (and so the only row of a one-row list) is not dragged.
  if (rows.empty() || rows.size() >= rows_.size()) return nullptr;
  QByteArrayList text;
  for (int row : rows) text << QByteArray::number(row);
  auto* data = new QMimeData;
  data->setData(kRowsType, text.join(','));
  return data;
}

bool DocumentTableModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                         const QModelIndex& parent) const {
  if (data->hasFormat(kRowsType)) return !parent.isValid();  // above a row, never on it
  return data->hasUrls();
}

bool DocumentTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                      int column, const QModelIndex& parent) {
  if (!canDropMimeData(data, action, row, column, parent)) return false;
  if (data->hasFormat(kRowsType)) {
    const size_t dropRow = row < 0 ? rows_.size() : static_cast<size_t>(row);
    const std::set<size_t> dragged = DraggedRows(data);
    const auto first = list_.MoveRows(dragged, dropRow);
    if (!first) return false;
    // After the reset that the move queued.
    QMetaObject::invokeMethod(
        this,
        [this, first = static_cast<int>(*first), count = static_cast<int>(dragged.size())] {
          emit rowsDragged(first, count);
        },
        Qt::QueuedConnection);
    return true;
  }
  std::vector<std::filesystem::path> paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.emplace_back(url.toLocalFile().toStdString());
  }
  if (paths.empty() || !filesDropped_) return false;
  // Between rows, or on a row (before it); below the rows, at the end.
  const int at = parent.isValid() ? parent.row() : row;
  filesDropped_(std::move(paths), at < 0 ? rows_.size() : static_cast<size_t>(at));
  return true;
}

const ListedDocument* DocumentTableModel::Document(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
  return &rows_[static_cast<size_t>(row)];
}

}  // namespace quillsheet
