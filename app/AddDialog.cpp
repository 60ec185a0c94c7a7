#include "app/AddDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>

namespace quillsheet {

AddDialog::AddDialog(QWidget* parent)
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
}

// Files and folders that exist are taken as they are; the dialog's own
// accept would open a folder instead of choosing it.
void AddDialog::accept() {
  const QStringList chosen = selectedFiles();
  const bool allExist =
      !chosen.isEmpty() && std::all_of(chosen.begin(), chosen.end(),
                                       [](const QString& path) { return QFileInfo::exists(path); });
  if (allExist) {
    QDialog::accept();
  } else {
    QFileDialog::accept();
  }
}

std::vector<std::filesystem::path> AddDialog::Chosen() const {
  std::vector<std::filesystem::path> paths;
  for (const QString& path : selectedFiles()) paths.emplace_back(path.toStdString());
  return paths;
}

bool AddDialog::Recursive() const { return recursiveBox_->isChecked(); }

}  // namespace quillsheet
