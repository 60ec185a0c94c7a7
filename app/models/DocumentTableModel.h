// The document table's model: a view of the DocumentList, one row a document,
// columns "Name" and "Pages". It learns of changes from the list's listener,
// which may fire on an adding worker: the update is handed to the model's
// thread (queued) and applied there as row insertions and removals, so a
// selection survives. Lives on the main thread.
#pragma once

#include <QAbstractTableModel>

#include "output/DocumentList.h"

namespace quillsheet {

class DocumentTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { NameColumn = 0, PagesColumn = 1, ColumnCount = 2 };

  // The list must outlive the model.
  explicit DocumentTableModel(DocumentList& list, QObject* parent = nullptr);
  ~DocumentTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The document of a row, as the model shows it.
  const ListedDocument* Document(int row) const;

 private:
  void Apply(const DocumentList::Update& update);

  DocumentList& list_;
  ListenerToken token_;
  std::vector<ListedDocument> rows_;  // the list as last applied on this thread
};

}  // namespace quillsheet
