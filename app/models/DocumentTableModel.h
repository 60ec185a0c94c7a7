// The document table's model: a view of the DocumentList, one row a document,
// columns "Name" and "Pages". Rows are dragged within the table to reorder
// them (a private type; never the whole list; dropped above a row, not on
// it), and files and folders dropped from a file manager (text/uri-list) are
// handed to the window to add. It learns of changes from the list's listener,
// which may fire on an adding worker: the update is handed to the model's
// thread (queued) and applied there as row insertions and removals, so a
// selection survives. Lives on the main thread.
#pragma once

#include <QAbstractTableModel>
#include <filesystem>
#include <functional>
#include <vector>

#include "output/DocumentList.h"

namespace quillsheet {

class DocumentTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { NameColumn = 0, PagesColumn = 1, ColumnCount = 2 };

  // The list must outlive the model.
  explicit DocumentTableModel(DocumentList& list, QObject* parent = nullptr);
  ~DocumentTableModel() override;

  // Called with the local files and folders of a drop from outside and the
  // row they were dropped before (the row count: at the end), where the
  // table's drop line showed them going.
  using FilesDropped = std::function<void(std::vector<std::filesystem::path>, size_t)>;
  void SetFilesDropped(FilesDropped filesDropped) { filesDropped_ = std::move(filesDropped); }

  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDropActions() const override;
  Qt::DropActions supportedDragActions() const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The document of a row, as the model shows it.
  const ListedDocument* Document(int row) const;

 signals:
  // Rows dragged within the table now stand at first..first+count-1 (sent
  // once the model shows them there).
  void rowsDragged(int first, int count);

 private:
  void Apply(const DocumentList::Update& update);

  DocumentList& list_;
  ListenerToken token_;
  std::vector<ListedDocument> rows_;  // the list as last applied on this thread
  FilesDropped filesDropped_;
};

}  // namespace quillsheet
