// The panel that picks documents to add: PDF files, or a folder through its
// "Add Folder" button (the folder selected, or else the one on show), with
// the box that searches sub-folders too. Enter on a folder opens it; it
// never adds it. It opens in the folder given. Main thread only.
#pragma once

#include <QFileDialog>
#include <filesystem>
#include <optional>
#include <vector>

class QCheckBox;

namespace quillsheet {

class AddDialog : public QFileDialog {
  Q_OBJECT

 public:
  AddDialog(const QString& folder, QWidget* parent);

  std::vector<std::filesystem::path> Chosen() const;
  bool Recursive() const;

 public slots:
  void accept() override;

 private:
  void AddFolder();

  QCheckBox* recursiveBox_ = nullptr;
  std::optional<std::filesystem::path> folder_;  // chosen with "Add Folder"
};

}  // namespace quillsheet
