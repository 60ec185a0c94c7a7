// The panel that picks documents to add: PDF files and folders (a folder is
// taken as chosen with the Add button; a double-click opens it), with the box
// that searches sub-folders too. Main thread only.
#pragma once

#include <QFileDialog>
#include <filesystem>
#include <vector>

class QCheckBox;

namespace quillsheet {

class AddDialog : public QFileDialog {
  Q_OBJECT

 public:
  explicit AddDialog(QWidget* parent);

  std::vector<std::filesystem::path> Chosen() const;
  bool Recursive() const;

 public slots:
  void accept() override;

 private:
  QCheckBox* recursiveBox_ = nullptr;
};

}  // namespace quillsheet
