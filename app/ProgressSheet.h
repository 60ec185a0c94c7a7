#pragma once

#include <QProgressDialog>

#include "output/ConversionDriver.h"

namespace quillsheet {

// The "Converting" sheet over the window while a run goes on: the preset and
// the file in progress above a bar. Cancel sets the run's cancel flag, which
// the caller owns and which must outlive the sheet; the run then stops inside
// the document in progress, which is not saved. The bar moves with the pages
// of the document in progress. Main thread only.
class ProgressSheet : public QProgressDialog {
  Q_OBJECT

 public:
  ProgressSheet(CancelFlag& cancel, QWidget* parent);

  // Shows where the run is; ignored once Cancel was pressed, so that the
  // sheet keeps saying it is stopping.
  void Show(const ProgressState& state);

 private:
  CancelFlag& cancel_;
};

}  // namespace quillsheet
