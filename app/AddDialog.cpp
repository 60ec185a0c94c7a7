#include "app/AddDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>

namespace quillsheet {

AddDialog::AddDialog(const QString& folder, QWidget* parent)
    //% "Add"
    : QFileDialog(parent, qtTrId("AddPDFDialogTitle")) {
  setObjectName(QStringLiteral("AddDialog"));
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFiles);
  //% "PDF documents and folders (*.pdf *.PDF)"
  const QString pdfFilter = qtTrId("AddPDFDialogPDFFilter");
  //% "All files (*)"
  const QString allFilter = qtTrId("AddPDFDialogAllFilter");
  setNameFilters({pdfFilter, allFilter});
  //% "&Add"
  setLabelText(QFileDialog::Accept, qtTrId("AddPDFDialogButton"));
  //% "Include &sub-folders"
  recursiveBox_ = new QCheckBox(qtTrId("AddPDFDialogRecursive"), this);
  recursiveBox_->setObjectName(QStringLiteral("recursiveBox"));
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addWidget(recursiveBox_, grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (auto* buttons = findChild<QDialogButtonBox*>()) {
    //% "Add &Folder"
    QPushButton* addFolder =
        buttons->addButton(qtTrId("AddFolderButton"), QDialogButtonBox::ActionRole);
    addFolder->setObjectName(QStringLiteral("addFolderButton"));
    addFolder->setAutoDefault(false);
    connect(addFolder, &QPushButton::clicked, this, &AddDialog::AddFolder);
  }
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) setDirectory(folder);
}

// Existing files are taken as they are; a folder is opened (the dialog's
// own accept), never added by Enter.
void AddDialog::accept() {
  const QStringList chosen = selectedFiles();
  const bool allFiles = !chosen.isEmpty() &&
                        std::all_of(chosen.begin(), chosen.end(),
                                    [](const QString& path) { return QFileInfo(path).isFile(); });
  if (allFiles) {
    folder_.reset();
    QDialog::accept();
  } else {
    QFileDialog::accept();
  }
}

void AddDialog::AddFolder() {
  const QStringList chosen = selectedFiles();
  const QString folder = chosen.size() == 1 && QFileInfo(chosen.front()).isDir()
                             ? chosen.front()
                             : directory().absolutePath();
  folder_ = folder.toStdString();
  QDialog::accept();
}

std::vector<std::filesystem::path> AddDialog::Chosen() const {
  if (folder_) return {*folder_};
  std::vector<std::filesystem::path> paths;
  for (const QString& path : selectedFiles()) paths.emplace_back(path.toStdString());
  return paths;
}

bool AddDialog::Recursive() const { return recursiveBox_->isChecked(); }

}  // namespace quillsheet
