#include "app/ProgressSheet.h"

namespace quillsheet {

ProgressSheet::ProgressSheet(CancelFlag& cancel, QWidget* parent)
    : QProgressDialog(parent), cancel_(cancel) {
  setObjectName(QStringLiteral("ProgressSheet"));
  //% "Converting"
  setWindowTitle(qtTrId("ProgressTitle"));
  //% "Starting\u2026"
  setLabelText(qtTrId("ProgressStarting"));
  //% "Cancel"
  setCancelButtonText(qtTrId("CancelTitle"));
  setRange(0, 1);
  setWindowModality(Qt::WindowModal);
  setAutoClose(false);
  setAutoReset(false);
  setMinimumDuration(0);
  connect(this, &QProgressDialog::canceled, this, [this] {
    cancel_ = true;
    //% "Stopping: the document in progress is not saved\u2026"
    setLabelText(qtTrId("ProgressStopping"));
  });
}

void ProgressSheet::Show(const ProgressState& state) {
  if (cancel_) return;
  if (state.status == kStatusDocumentStarts) {
    const QString file = QString::fromStdString(state.FileText());
    setLabelText(state.HasPreset() ? QString::fromStdString(state.PresetText()) + "\n" + file
                                   : file);
  }
  // A hundred steps a document: while one is under way the bar stands at
  // the documents before it and moves with its pages.
  constexpr int kSteps = 100;
  const bool inDocument =
      state.status == kStatusDocumentStarts || state.status == kStatusDocumentMoves;
  const double at = inDocument ? static_cast<double>(state.value) - 1 + state.documentPart
                               : static_cast<double>(state.value);
  setMaximum(static_cast<int>(state.maximum) * kSteps);
  // Last: a modal progress dialog handles pending events in setValue, which
  // may end the run and take the dialog away.
  setValue(static_cast<int>(at * kSteps));
}

}  // namespace quillsheet
