#include "app/AddDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>

namespace quillsheet {

AddDialog::AddDialog(QWidget* parent) : QFileDialog(parent, tr("Add")) {
  setObjectName(QStringLiteral("AddDialog"));
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFiles);
  setNameFilters({tr("PDF documents and folders (*.pdf *.PDF)"), tr("All files (*)")});
  setLabelText(QFileDialog::Accept, tr("&Add"));
  recursiveBox_ = new QCheckBox(tr("Include &sub-folders"), this);
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
